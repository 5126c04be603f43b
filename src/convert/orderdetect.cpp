#include "convert/orderdetect.h"

#include <array>
#include <string>

// Why the final letters tell the order: five Hebrew letters (kaf, mem, nun,
// pe, tsadi) take a final form at the end of a word and their ordinary form
// everywhere else. Logical text is stored in reading order, so a word ends
// with its final form; a visual page stores each line reversed, so the same
// word begins with it. Roughly one Hebrew word in five ends in a final form
// (plurals in -im, -in, many suffixes), so a page of a few dozen words gives
// plenty of evidence, and in well-written text of either order the other kind
// of word does not occur at all.
//
// Only words of two letters or more count: a one-letter word reads the same
// both ways, and so does a word that begins and ends with a final form. The
// opposite kind of word is not impossible (a quoted passage in the other
// order, a typo, an abbreviation), so one kind must outnumber the other by a
// clear factor, and it must be seen a few times before it decides: a short
// text with one or two final letters is left unknown rather than guessed.
//
// A page may say what it is: a meta tag declaring the "visual" charset, or
// ISO-8859-8 under any of its names, is shown by browsers in visual order, so
// it makes the page visual. Except when the letters say logical: the
// program's own templates put that meta tag at the head of the logical text a
// user writes, before it is converted, and that text is logical whatever its
// head promises. ISO-8859-8-I ("logical"), windows-1255 and UTF-8 are
// declared by visual pages as well as by logical ones, so they settle nothing
// and the letters decide.
//
// The thresholds come from bench/detect_accuracy.cpp (mirval-bench-detect),
// which runs the rule over thousands of generated logical pages and their
// visual forms, some with stray lines of the other order: see bench/README.md.

namespace orderdetect {

namespace {

constexpr unsigned char kFirstLetter = 0xE0;  // alef
constexpr unsigned char kLastLetter = 0xFA;   // tav

bool IsLetter(unsigned char c) {
    return c >= kFirstLetter && c <= kLastLetter;
}

// Final kaf, mem, nun, pe and tsadi.
bool IsFinal(unsigned char c) {
    return c == 0xEA || c == 0xED || c == 0xEF || c == 0xF3 || c == 0xF5;
}

// Vowel points, dagesh, meteg, rafe and the shin and sin dots sit inside a
// word without ending it (maqaf, paseq and sof pasuq do end it).
bool IsPoint(unsigned char c) {
    return (c >= 0xC0 && c <= 0xCD) || c == 0xCF || c == 0xD1 || c == 0xD2;
}

bool IsAsciiLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

unsigned char Lower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool IsSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Case-insensitive search for a lower-case ASCII word in a tag.
size_t FindNoCase(std::string_view tag, std::string_view word) {
    if (tag.size() < word.size()) {
        return std::string_view::npos;
    }
    for (size_t i = 0; i + word.size() <= tag.size(); ++i) {
        size_t k = 0;
        while (k < word.size() && Lower(static_cast<unsigned char>(tag[i + k])) == word[k]) {
            ++k;
        }
        if (k == word.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The labels under which browsers take a page as ISO-8859-8 (visual order).
bool IsVisualLabel(std::string_view label) {
    static constexpr std::array<std::string_view, 10> kLabels = {
        "visual",     "iso-8859-8", "iso-8859-8-e", "iso8859-8",       "iso88598",
        "iso_8859-8", "iso-ir-138", "hebrew",       "iso_8859-8:1988", "csisolatinhebrew"};
    for (std::string_view known : kLabels) {
        if (label == known) {
            return true;
        }
    }
    return false;
}

enum class MetaCharset { None, Visual, Other };

// The charset a tag declares, when it is a meta tag that declares one: in
// «<meta charset="visual">» or «<meta http-equiv=... content="text/html;
// charset=iso-8859-8">». The tag runs from "<" to ">" inclusive. The search
// for the word is quadratic only in the word's length (7), so linear here.
MetaCharset MetaCharsetOf(std::string_view tag) {
    if (tag.size() < 6 || FindNoCase(tag.substr(1, 4), "meta") != 0 ||
        !(IsSpace(static_cast<unsigned char>(tag[5])) || tag[5] == '/' || tag[5] == '>')) {
        return MetaCharset::None;
    }
    const size_t at = FindNoCase(tag, "charset");
    if (at == std::string_view::npos) {
        return MetaCharset::None;
    }
    size_t pos = at + 7;
    while (pos < tag.size() && IsSpace(static_cast<unsigned char>(tag[pos]))) {
        ++pos;
    }
    if (pos >= tag.size() || tag[pos] != '=') {
        return MetaCharset::None;
    }
    ++pos;
    while (pos < tag.size() &&
           (IsSpace(static_cast<unsigned char>(tag[pos])) || tag[pos] == '"' || tag[pos] == '\'')) {
        ++pos;
    }
    std::string label;
    while (pos < tag.size()) {
        const unsigned char c = static_cast<unsigned char>(tag[pos]);
        if (IsSpace(c) || c == '"' || c == '\'' || c == ';' || c == '>' || c == '/') {
            break;
        }
        label.push_back(static_cast<char>(Lower(c)));
        ++pos;
    }
    if (label.empty()) {
        return MetaCharset::None;
    }
    return IsVisualLabel(label) ? MetaCharset::Visual : MetaCharset::Other;
}

}  // namespace

TextOrder OrderFromCounts(size_t finalFirst, size_t finalLast, const OrderThresholds& thresholds) {
    const size_t minWords = thresholds.minWords > 0 ? thresholds.minWords : 1;
    if (finalFirst >= minWords && finalFirst >= thresholds.ratio * finalLast) {
        return TextOrder::Visual;
    }
    if (finalLast >= minWords && finalLast >= thresholds.ratio * finalFirst) {
        return TextOrder::Logical;
    }
    return TextOrder::Unknown;
}

OrderEvidence DetectOrder(std::string_view text) {
    OrderEvidence evidence;
    MetaCharset declared = MetaCharset::None;  // the first declaration counts, as in a browser

    // The word being read: its letter count and its first and last letters.
    size_t letters = 0;
    unsigned char first = 0;
    unsigned char last = 0;
    auto endWord = [&] {
        if (letters >= 2) {
            const bool finalFirst = IsFinal(first);
            const bool finalLast = IsFinal(last);
            if (finalFirst && !finalLast) {
                ++evidence.finalFirst;
            } else if (finalLast && !finalFirst) {
                ++evidence.finalLast;
            }
        }
        letters = 0;
    };

    // The next ">" at or after the current position, found once per tag and
    // reused, so that many "<" without a ">" stay linear.
    size_t nextClose = 0;
    bool closeSearched = false;
    size_t pos = 0;
    while (pos < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        if (IsLetter(c)) {
            if (letters == 0) {
                first = c;
            }
            last = c;
            ++letters;
            ++pos;
            continue;
        }
        if (IsPoint(c) && letters > 0) {
            ++pos;
            continue;
        }
        endWord();
        // A tag: "<" followed by a letter, "/", "!" or "?", up to the next ">".
        if (c == '<' && pos + 1 < text.size()) {
            const unsigned char next = static_cast<unsigned char>(text[pos + 1]);
            if (IsAsciiLetter(next) || next == '/' || next == '!' || next == '?') {
                if (!closeSearched || (nextClose != std::string_view::npos && nextClose < pos)) {
                    nextClose = text.find('>', pos);
                    closeSearched = true;
                }
                if (nextClose != std::string_view::npos) {
                    if (declared == MetaCharset::None) {
                        declared = MetaCharsetOf(text.substr(pos, nextClose - pos + 1));
                    }
                    pos = nextClose + 1;
                    continue;
                }
            }
        }
        ++pos;
    }
    endWord();

    evidence.metaVisual = declared == MetaCharset::Visual;
    evidence.order = OrderFromCounts(evidence.finalFirst, evidence.finalLast);
    if (evidence.metaVisual && evidence.order != TextOrder::Logical) {
        evidence.order = TextOrder::Visual;
    }
    return evidence;
}

std::string_view OrderName(TextOrder order) {
    switch (order) {
        case TextOrder::Visual:
            return "visual";
        case TextOrder::Logical:
            return "logical";
        case TextOrder::Unknown:
            break;
    }
    return "unknown";
}

}  // namespace orderdetect
