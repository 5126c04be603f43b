#include "view/hebrewfind.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "convert/charset.h"

namespace hebrewfind {

namespace {

constexpr CharSet kHebrewLetters(charsets::kHebrewLetters);

// Letters, digits and the underscore; the Hebrew letters and points of code
// page 1255 belong to words as well.
bool IsWordByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z') || byte == '_' || (byte >= 0xC0 && byte <= 0xCD) ||
           kHebrewLetters.Contains(byte);
}

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsWholeWord(std::string_view text, size_t position, size_t length) {
    const bool startsWord = position == 0 || !IsWordByte(text[position - 1]);
    const size_t end = position + length;
    const bool endsWord = end >= text.size() || !IsWordByte(text[end]);
    return startsWord && endsWord;
}

// The first place at or after from where find occurs, ASCII letters of
// either case matching.
size_t FindFolded(std::string_view text, std::string_view find, size_t from) {
    const char first = FoldCase(find.front());
    for (size_t p = from; p + find.size() <= text.size(); ++p) {
        if (FoldCase(text[p]) != first) {
            continue;
        }
        size_t i = 1;
        while (i < find.size() && FoldCase(text[p + i]) == FoldCase(find[i])) {
            ++i;
        }
        if (i == find.size()) {
            return p;
        }
    }
    return std::string_view::npos;
}

}  // namespace

bool IsHebrew(std::string_view text) {
    return kHebrewLetters.AnyIn(text);
}

std::string Reversed(std::string_view text) {
    return std::string(text.rbegin(), text.rend());
}

std::optional<HebrewMatch> FindHebrew(std::string_view text, size_t from, std::string_view find) {
    if (find.empty() || from > text.size()) {
        return std::nullopt;
    }
    const std::string reversed = Reversed(find);
    const size_t typedAt = text.find(find, from);
    const size_t reversedAt = text.find(reversed, from);
    if (typedAt == std::string_view::npos && reversedAt == std::string_view::npos) {
        return std::nullopt;
    }
    if (reversedAt == std::string_view::npos ||
        (typedAt != std::string_view::npos && typedAt <= reversedAt)) {
        return HebrewMatch{typedAt, true};
    }
    return HebrewMatch{reversedAt, false};
}

std::string Replacement(std::string_view replace, bool typed) {
    return typed ? std::string(replace) : Reversed(replace);
}

ReplaceAllResult ReplaceAllHebrew(std::string_view text, size_t from, std::string_view find,
                                  std::string_view replace) {
    ReplaceAllResult result;
    if (find.empty() || from > text.size()) {
        return result;
    }
    constexpr size_t npos = std::string_view::npos;
    const std::string reversed = Reversed(find);
    const std::string reversedReplace = Reversed(replace);
    // The next place of either form at or after p; each is searched again
    // only once p has passed it, so the text is walked once per form.
    size_t typedAt = text.find(find, from);
    size_t reversedAt = text.find(reversed, from);
    std::string& out = result.text;
    size_t p = from;
    while (true) {
        if (typedAt != npos && typedAt < p) {
            typedAt = text.find(find, p);
        }
        if (reversedAt != npos && reversedAt < p) {
            reversedAt = text.find(reversed, p);
        }
        if (typedAt == npos && reversedAt == npos) {
            break;
        }
        const bool typed = reversedAt == npos || (typedAt != npos && typedAt <= reversedAt);
        const size_t match = typed ? typedAt : reversedAt;
        if (result.count == 0) {
            // The text before from stays as it is.
            out.reserve(text.size());
            out.append(text, 0, from);
        }
        out.append(text, p, match - p);
        result.lastStart = out.size();
        out.append(typed ? std::string_view(replace) : std::string_view(reversedReplace));
        result.lastLength = replace.size();
        ++result.count;
        p = match + find.size();
    }
    if (result.count == 0) {
        return result;
    }
    out.append(text, p);
    return result;
}

std::optional<size_t> FindPlain(std::string_view text, size_t from, size_t limit,
                                std::string_view find, PlainOptions options) {
    limit = std::min(limit, text.size());
    if (find.empty() || from > limit || limit - from < find.size()) {
        return std::nullopt;
    }
    const std::string_view range = text.substr(0, limit);
    size_t p = from;
    while (p + find.size() <= limit) {
        const size_t hit = options.matchCase ? range.find(find, p) : FindFolded(range, find, p);
        if (hit == std::string_view::npos) {
            return std::nullopt;
        }
        if (!options.wholeWord || IsWholeWord(text, hit, find.size())) {
            return hit;
        }
        p = hit + 1;
    }
    return std::nullopt;
}

std::optional<size_t> PlainSearch::Next(std::string_view text, size_t selStart, size_t selEnd,
                                        std::string_view find, PlainOptions options) {
    const size_t start = selStart != selEnd ? selStart + 1 : selStart;
    if (m_bFirstSearch) {
        m_nFirstStart = start;
        m_bFirstSearch = false;
        m_bWrapped = false;
    }
    // After the wrap, the round ends with the matches that start before
    // the place the first search started from.
    const size_t roundEnd = find.empty() ? 0 : m_nFirstStart + find.size() - 1;
    const size_t limit = m_bWrapped ? roundEnd : text.size();
    if (auto match = FindPlain(text, start, limit, find, options)) {
        return match;
    }
    if (!m_bWrapped && m_nFirstStart > 0) {
        m_bWrapped = true;
        return FindPlain(text, 0, roundEnd, find, options);
    }
    return std::nullopt;
}

ReplaceAllResult ReplaceAllPlain(std::string_view text, size_t from, std::string_view find,
                                 std::string_view replace, PlainOptions options) {
    ReplaceAllResult result;
    from = std::min(from, text.size());
    std::vector<size_t> afterFrom;
    for (size_t p = from; auto match = FindPlain(text, p, text.size(), find, options);) {
        afterFrom.push_back(*match);
        p = *match + find.size();
    }
    // Wrapping around, the matches that start before from, as far as they do
    // not reach into the first match after it.
    const size_t wrapLimit = std::min(find.empty() ? 0 : from + find.size() - 1,
                                      afterFrom.empty() ? text.size() : afterFrom.front());
    std::vector<size_t> beforeFrom;
    for (size_t p = 0; auto match = FindPlain(text, p, wrapLimit, find, options);) {
        beforeFrom.push_back(*match);
        p = *match + find.size();
    }
    result.count = afterFrom.size() + beforeFrom.size();
    if (result.count == 0) {
        return result;
    }
    // In the order of the search, the last match before from comes last.
    const size_t last = beforeFrom.empty() ? afterFrom.back() : beforeFrom.back();
    std::vector<size_t>& matches = beforeFrom;
    matches.insert(matches.end(), afterFrom.begin(), afterFrom.end());
    std::string& out = result.text;
    out.reserve(text.size() + result.count * replace.size());
    size_t p = 0;
    for (const size_t match : matches) {
        out.append(text, p, match - p);
        if (match == last) {
            result.lastStart = out.size();
        }
        out.append(replace);
        p = match + find.size();
    }
    out.append(text, p);
    result.lastLength = replace.size();
    return result;
}

}  // namespace hebrewfind
