// Reading again the stretches of a visual page whose logical lines, made
// visual again, do not give back the page.
#include "convert/modernreread.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "convert/charset.h"
#include "convert/convert.h"
#include "convert/convertinto.h"
#include "convert/linereverser.h"
#include "convert/textsearch.h"

namespace modernreread {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr CharSet kLatinRunSet{charsets::kLatinRun};
constexpr CharSet kRunPunctuationSet{charsets::kRunPunctuation};
// A stretch read again holds the lines before the first that fails (they
// may hold what that line lacks) and reaches the next line that gives back
// its bytes, looked for among the next few lines.
constexpr size_t kLinesBefore = 2;
constexpr size_t kMostLinesAhead = 8;
constexpr size_t kMostFoundLooked = 16;  // the places a line found again is checked at
// Bounds of one stretch: its bytes, the pieces one logical line may span,
// the places before a piece's first Hebrew letter where a line may end, and
// the readings tried. The bytes tried in all pages' stretches are bounded
// too: the page's size and 1 MiB.
constexpr size_t kMostStretch = 8192;
constexpr size_t kMostPiecesPerLine = 8;
constexpr size_t kMostGluedPlaces = 160;
constexpr size_t kMostTries = 1024;
constexpr size_t kTaggedLineCost = 3;
constexpr size_t kHeadedLineCost = 8;
constexpr size_t kUnreachable = std::numeric_limits<size_t>::max();

// Whether `text` starts with a tag of the page's frame or head element.
bool IsHeadTag(std::string_view text) {
    if (text.size() < 5 || text[0] != '<') {
        return false;
    }
    const size_t from = text[1] == '/' ? 2 : 1;
    for (std::string_view name : {"html", "head", "title", "meta", "body"}) {
        const size_t after = from + name.size();
        if (after < text.size() && FindNoCase(text.substr(from, name.size()), name) == 0 &&
            (text[after] == '>' || text[after] == ' ' || text[after] == '/')) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool MentionsRawBlock(std::string_view text) {
    return FindNoCase(text, "<script") != std::string_view::npos ||
           FindNoCase(text, "<style") != std::string_view::npos;
}

namespace {

class Rereader {
public:
    Rereader(std::string_view visual, const ModernPageRules& rules, bool paragraphs,
             LineReader read)
        : m_visual(visual),
          m_width(rules.width),
          m_mark(rules.breakString + std::string(kLineEnd)),
          m_paragraphs(paragraphs),
          m_wrapper(rules.width, 1, rules.breakString, paragraphs ? 1 : 0, rules.beforeParagraph,
                    rules.afterParagraph),
          m_read(read),
          m_budget(visual.size() + (size_t{1} << 20)) {
        if (paragraphs) {
            m_before = rules.beforeParagraph + std::string(kLineEnd);
            m_after = rules.afterParagraph + std::string(kLineEnd);
            // The text ends in the closing string.
            if (EndsWith(m_visual, m_after)) {
                m_visual.remove_suffix(m_after.size());
            }
        }
    }

    // Whether the piece written before the page's byte `at` had a Hebrew
    // letter: every such piece ends in the mark and a line end.
    bool HebrewBefore(size_t at) const {
        return at > 0 && EndsWith(m_visual.substr(0, at), m_mark);
    }

    // The bytes the logical line gives when made visual after a piece with
    // a Hebrew letter or without one: its pieces, each Hebrew one followed
    // by the mark and a line end, and with paragraph strings between Hebrew
    // pieces and the others. An empty line inside the text gives the mark
    // alone.
    std::string_view MadeVisual(std::string_view line, bool last, bool hebrewBefore) {
        m_made.Clear();
        m_wrapper.SetPreviousHebrew(hebrewBefore);
        if (line.empty()) {
            if (!last) {
                m_wrapper.Line(kLineEnd, m_made);
            }
            return m_made.View();
        }
        // Inside a text a line keeps its outer white space until its pieces
        // are trimmed: a line of spaces gives no piece with a Hebrew letter.
        m_reversed.clear();
        m_reverser.Append(line, m_reversed);
        m_wrapper.Line(m_reversed, m_made);
        return m_made.View();
    }

    void Run(std::string& modern) {
        std::vector<std::string_view> lines;
        for (size_t pos = 0; pos < modern.size();) {
            const size_t end = modern.find(kLineEnd, pos);
            if (end == std::string::npos) {
                lines.push_back(std::string_view(modern).substr(pos));
                break;
            }
            lines.push_back(std::string_view(modern).substr(pos, end - pos));
            pos = end + kLineEnd.size();
        }
        // Where the last few lines start in the page: a stretch begins at
        // one of them.
        std::array<size_t, kLinesBefore + 1> starts{};
        const auto startOf = [&](size_t line) -> size_t& { return starts[line % starts.size()]; };
        size_t settled = 0;  // lines before it are not read again
        size_t pos = 0;
        for (size_t i = 0; i < lines.size();) {
            startOf(i) = pos;
            const std::string_view made =
                MadeVisual(lines[i], i + 1 == lines.size(), HebrewBefore(pos));
            if (m_visual.compare(pos, made.size(), made) == 0) {
                pos += made.size();
                ++i;
                continue;
            }
            size_t next = 0;
            size_t at = 0;
            size_t lineAt = 0;  // where line next - 1, found again, starts
            if (!Resynchronise(lines, i, pos, next, at, lineAt)) {
                break;
            }
            const size_t from = std::max(settled, i >= kLinesBefore ? i - kLinesBefore : 0);
            // The line found again may have been read with a glued start
            // that is not its own: it is read again too, unless the
            // stretch cannot be read with it.
            if (!Replace(from, next, startOf(from), at, lines) && lineAt < at) {
                Replace(from, next - 1, startOf(from), lineAt, lines);
            }
            settled = next;
            pos = at;
            i = next;
        }
        if (m_replacements.empty()) {
            return;
        }
        std::string result;
        result.reserve(modern.size() + modern.size() / 16);
        size_t line = 0;
        for (const Replacement& replacement : m_replacements) {
            for (; line < replacement.from; ++line) {
                result.append(lines[line]).append(kLineEnd);
            }
            result.append(replacement.lines);
            line = replacement.to;
        }
        for (; line < lines.size(); ++line) {
            result.append(lines[line]);
            if (line + 1 < lines.size() || EndsWith(modern, kLineEnd)) {
                result.append(kLineEnd);
            }
        }
        modern.swap(result);
    }

private:
    // Lines [from, to) of the modern text, read again.
    struct Replacement {
        size_t from;
        size_t to;
        std::string lines;  // each with its line end
    };

    // Reads the page's bytes [begin, end) again in place of lines [from,
    // to). The readings must hold the very bytes of the lines they replace (but
    // white space and entities): where the line found again was found too
    // early, the lines before it would be lost.
    bool Replace(size_t from, size_t to, size_t begin, size_t end,
                 const std::vector<std::string_view>& lines) {
        // Lines without a run (Latin, numbers, tags) are read exactly by the
        // inverse of the reversal; where their bytes are not given back,
        // the visual page holds nothing a rereading would read better.
        if (std::none_of(lines.begin() + static_cast<std::ptrdiff_t>(from),
                         lines.begin() + static_cast<std::ptrdiff_t>(to),
                         [](std::string_view line) { return kLatinRunSet.AnyIn(line); })) {
            return false;
        }
        const std::string_view stretch = m_visual.substr(begin, end - begin);
        std::vector<std::string> readings;
        if (stretch.empty() || stretch.size() > kMostStretch || MentionsRawBlock(stretch) ||
            !Reread(begin, stretch, end == m_visual.size() && to == lines.size(), readings)) {
            return false;
        }
        Replacement replacement{from, to, {}};
        for (const std::string& reading : readings) {
            replacement.lines.append(reading).append(kLineEnd);
        }
        std::array<size_t, 256> kept{};
        for (size_t k = from; k < to; ++k) {
            CountTextBytes(lines[k], kept, 1);
        }
        CountTextBytes(replacement.lines, kept, -1);
        if (std::any_of(kept.begin(), kept.end(), [](size_t n) { return n != 0; })) {
            return false;
        }
        m_replacements.push_back(std::move(replacement));
        return true;
    }

    // Adds `step` to the count of each byte of `text` but white space, an
    // "&quot;" counted as the quotation mark it stands for and an "&nbsp;"
    // not at all (the reversal turns them so).
    static void CountTextBytes(std::string_view text, std::array<size_t, 256>& counts, int step) {
        for (size_t k = 0; k < text.size(); ++k) {
            const std::string_view rest = text.substr(k);
            if (rest.starts_with("&nbsp;")) {
                k += 5;
            } else if (rest.starts_with("&quot;")) {
                counts['"'] += static_cast<size_t>(step);
                k += 5;
            } else if (!kWhiteSpaceSet.Contains(text[k])) {
                counts[static_cast<unsigned char>(text[k])] += static_cast<size_t>(step);
            }
        }
    }

    bool Follows(size_t at, std::string_view bytes) const {
        return m_visual.compare(at, bytes.size(), bytes) == 0;
    }

    // Where the piece that starts at `from` ends: at the next mark, or
    // paragraph string, with its line end (npos for none); `length` is the
    // length of that end, `opening` whether it is the opening string.
    size_t PieceEnd(std::string_view text, size_t from, size_t& length, bool& opening) const {
        size_t end = text.find(m_mark, from);
        length = m_mark.size();
        opening = false;
        if (m_paragraphs) {
            for (const std::string* string : {&m_after, &m_before}) {
                const size_t at = text.find(*string, from);
                if (at < end) {
                    end = at;
                    length = string->size();
                    opening = string == &m_before;
                }
            }
        }
        return end;
    }

    // The first line after `failed` that gives back its bytes somewhere in
    // the next few pieces of the page, followed by the line after it.
    bool Resynchronise(const std::vector<std::string_view>& lines, size_t failed, size_t pos,
                       size_t& next, size_t& at, size_t& lineAt) {
        // The stretch ends within the next few pieces, and within the
        // bytes a stretch may have.
        const std::string_view window =
            m_visual.substr(0, std::min(m_visual.size(), pos + kMostStretch));
        size_t limit = pos;
        for (size_t k = 0; k < kMostLinesAhead + 2 && limit < window.size(); ++k) {
            const size_t end = window.find(m_mark, limit);
            limit = end == std::string_view::npos ? window.size() : end + m_mark.size();
        }
        const std::string_view ahead = window.substr(0, limit);
        for (size_t k = failed + 1; k <= failed + kMostLinesAhead && k <= lines.size(); ++k) {
            if (k == lines.size()) {
                break;
            }
            // The line's bytes depend on the piece before it only with the
            // paragraph strings.
            for (const bool hebrewBefore : {true, false}) {
                if (!hebrewBefore && !m_paragraphs) {
                    break;
                }
                const std::string made(MadeVisual(lines[k], k + 1 == lines.size(), hebrewBefore));
                if (made.empty()) {
                    continue;
                }
                size_t looked = 0;
                for (size_t found = ahead.find(made, pos);
                     found != std::string_view::npos && looked++ < kMostFoundLooked;
                     found = ahead.find(made, found + 1)) {
                    // A short line could be found by chance: the line
                    // after it must follow.
                    const size_t end = found + made.size();
                    if ((m_paragraphs && HebrewBefore(found) != hebrewBefore) ||
                        (k + 1 < lines.size() &&
                         !Follows(end, MadeVisual(lines[k + 1], k + 2 == lines.size(),
                                                  HebrewBefore(end))))) {
                        continue;
                    }
                    next = k + 1;
                    lineAt = found;
                    at = end;
                    return true;
                }
            }
        }
        // Else the stretch runs to the page's end, when it is short enough.
        if (m_visual.size() - pos > kMostStretch) {
            return false;
        }
        next = lines.size();
        at = lineAt = m_visual.size();
        return true;
    }

    // Cuts `stretch` (at `begin` in the page) into logical lines that each
    // give back their own bytes. A line ends after a piece's mark and line
    // end (or closing paragraph string), or before the first Hebrew letter
    // of the next piece: a piece without a Hebrew letter is written with no
    // line end, glued to what follows. Of the cuts that work, the one taken
    // costs least: a line costs one, an end glued inside a piece one or
    // two (four inside a tag), and a Hebrew line more where it begins with
    // a tag or holds the page's head element.
    bool Reread(size_t begin, std::string_view stretch, bool endsPage,
                std::vector<std::string>& readings) {
        std::vector<size_t> places{0};
        std::vector<size_t> pieceOf{0};  // the piece each place is in
        std::vector<size_t> cost{0};     // what ending a line there costs
        size_t piece = 0;
        for (size_t start = 0; start < stretch.size(); ++piece) {
            const size_t hebrew = static_cast<size_t>(
                std::find_if(stretch.begin() + static_cast<std::ptrdiff_t>(start), stretch.end(),
                             [](char c) { return kHebrewLetterSet.Contains(c); }) -
                stretch.begin());
            size_t endLength = 0;
            bool opening = false;
            const size_t end = PieceEnd(stretch, start, endLength, opening);
            // With the paragraph strings a piece without a Hebrew letter
            // is glued only to what comes before the opening string.
            const bool glued = !m_paragraphs || opening || end == std::string_view::npos;
            const size_t gluedEnd =
                glued ? std::min({hebrew, end, start + kMostGluedPlaces, stretch.size()}) : start;
            bool inTag = false;
            for (size_t at = start + 1; at <= gluedEnd; ++at) {
                inTag = stretch[at - 1] == '<' || (inTag && stretch[at - 1] != '>');
                // Pieces are written trimmed: no space stands beside the
                // place where two of them were glued.
                if (stretch[at - 1] == ' ' || (at < stretch.size() && stretch[at] == ' ')) {
                    continue;
                }
                const bool between = at == hebrew || at == stretch.size() ||
                                     stretch[at - 1] == '>' || stretch[at] == '<';
                places.push_back(at);
                pieceOf.push_back(piece);
                cost.push_back(inTag ? 4 : between ? 1 : 2);
            }
            if (end == std::string_view::npos) {
                break;
            }
            start = end + endLength;
            if (opening) {
                continue;  // the opening string goes with the piece after it
            }
            if (start > places.back()) {
                places.push_back(start);
                pieceOf.push_back(piece + 1);
                cost.push_back(0);
            } else {
                cost.back() = 0;
            }
        }
        if (places.back() != stretch.size()) {
            places.push_back(stretch.size());
            pieceOf.push_back(piece + 1);
            cost.push_back(0);
        }
        cost.back() = 0;
        // least[k]: the least cost of the lines from places[k] to the end
        // (each line costs one, and its end its own cost), and the place the
        // first of them ends.
        std::vector<size_t> least(places.size(), kUnreachable);
        std::vector<size_t> endOf(places.size(), 0);
        least.back() = 0;
        size_t tries = 0;
        // The page's head element is no part of a Hebrew line: heads[p]
        // counts the head tags that start before p.
        std::vector<size_t> heads(stretch.size() + 1, 0);
        for (size_t at = 0; at < stretch.size(); ++at) {
            heads[at + 1] = heads[at] + (IsHeadTag(stretch.substr(at)) ? 1 : 0);
        }
        std::vector<size_t> ends;
        for (size_t k = places.size() - 1; k-- > 0;) {
            // Tags before a line's first Hebrew piece are mostly a line of
            // their own, glued before it: a Hebrew line that begins with
            // one costs more.
            const size_t hebrew = stretch.find_first_of(charsets::kHebrewLetters, places[k]);
            const auto costOf = [&](size_t e) {
                const bool tagged = stretch[places[k]] == '<' && hebrew < places[e];
                const bool headed = hebrew < places[e] && heads[places[e]] > heads[places[k]];
                return least[e] + 1 + cost[e] + (tagged ? kTaggedLineCost : 0) +
                       (headed ? kHeadedLineCost : 0);
            };
            // The ends are tried cheapest first: the first that reads is
            // the best.
            ends.clear();
            for (size_t e = k + 1;
                 e < places.size() && pieceOf[e] <= pieceOf[k] + kMostPiecesPerLine; ++e) {
                if (least[e] != kUnreachable) {
                    ends.push_back(e);
                }
            }
            std::stable_sort(ends.begin(), ends.end(),
                             [&](size_t a, size_t b) { return costOf(a) < costOf(b); });
            for (size_t e : ends) {
                const std::string_view line = stretch.substr(places[k], places[e] - places[k]);
                if (++tries > kMostTries || m_budget < line.size()) {
                    return false;
                }
                m_budget -= line.size();
                if (ReadingOf(line, endsPage && e + 1 == places.size(),
                              HebrewBefore(begin + places[k]))) {
                    least[k] = costOf(e);
                    endOf[k] = e;
                    break;
                }
            }
        }
        if (least[0] == kUnreachable) {
            return false;
        }
        for (size_t k = 0; k + 1 < places.size(); k = endOf[k]) {
            const std::string_view line = stretch.substr(places[k], places[endOf[k]] - places[k]);
            ReadingOf(line, endsPage && endOf[k] + 1 == places.size(),
                      HebrewBefore(begin + places[k]));
            readings.push_back(m_reading);
        }
        return true;
    }

    // Reads `bytes` as one logical line into m_reading: its pieces (each
    // ended by the mark and a line end, the last maybe without) joined in
    // visual order, right end first, and read back. Whether that line gives
    // back the bytes.
    bool ReadingOf(std::string_view bytes, bool last, bool hebrewBefore) {
        std::vector<std::string_view>& pieces = m_pieces;
        pieces.clear();
        bool open = false;  // the last piece has no end of its own
        for (size_t start = 0; start < bytes.size();) {
            size_t length = 0;
            bool opening = false;
            const size_t end = PieceEnd(bytes, start, length, opening);
            if (end == std::string_view::npos) {
                pieces.push_back(bytes.substr(start));
                open = true;
                break;
            }
            // Before the opening string stand only pieces without a Hebrew
            // letter, glued, if any.
            if (!opening || end > start) {
                pieces.push_back(bytes.substr(start, end - start));
            }
            start = end + length;
        }
        if (pieces.empty()) {
            return false;
        }
        if (Reads(pieces, bytes, last, hebrewBefore)) {
            return true;
        }
        // A piece without a Hebrew letter after the last mark, longer than
        // a line may be, was two pieces glued together.
        if (pieces.size() < 2 || !open) {
            return false;
        }
        const std::string_view tail = pieces.back();
        const size_t width = static_cast<size_t>(m_width);
        if (tail.size() <= width || tail.size() > 2 * width || kHebrewLetterSet.AnyIn(tail)) {
            return false;
        }
        pieces.push_back({});
        for (size_t at = tail.size() - width; at <= width; ++at) {
            if (tail[at - 1] != ' ' && tail[at] != ' ') {
                pieces[pieces.size() - 2] = tail.substr(0, at);
                pieces.back() = tail.substr(at);
                if (Reads(pieces, bytes, last, hebrewBefore)) {
                    return true;
                }
            }
        }
        return false;
    }

    // Whether the pieces, joined in visual order (the last first), read back
    // into m_reading, give back `bytes`.
    bool Reads(const std::vector<std::string_view>& pieces, std::string_view bytes, bool last,
               bool hebrewBefore) {
        m_joined.clear();
        for (size_t k = pieces.size(); k-- > 0;) {
            if (pieces[k].empty()) {
                continue;
            }
            if (!m_joined.empty()) {
                m_joined.push_back(' ');
            }
            m_joined.append(pieces[k]);
        }
        m_reading.clear();
        m_read(m_joined, m_reading);
        if (MadeVisual(m_reading, last, hebrewBefore) == bytes) {
            return true;
        }
        // A line without a Hebrew letter may also read as it stands.
        if (kHebrewLetterSet.AnyIn(m_joined)) {
            return false;
        }
        m_reading = m_joined;
        return MadeVisual(m_reading, last, hebrewBefore) == bytes;
    }

    std::string_view m_visual;  // the page, without the closing string that ends it
    int m_width;
    std::string m_mark;  // the break mark and its line end
    bool m_paragraphs;
    std::string m_before;  // the paragraph strings and their line ends
    std::string m_after;
    VisualLineWrapper m_wrapper;
    LineReader m_read;
    // The reversal of the whole-text conversion, with its tables built once.
    ReverseRules m_reverseRules{kLatinRunSet, kRunPunctuationSet, true, false};
    LineReverser m_reverser{m_reverseRules};
    size_t m_budget;  // bytes left to try: a few times the page's
    std::string m_reversed;
    ByteSink m_made;
    std::string m_joined;
    std::string m_reading;
    std::vector<std::string_view> m_pieces;
    std::vector<Replacement> m_replacements;
};

}  // namespace

void RereadUnreproducedLines(std::string_view visual, std::string& modern,
                             const ModernPageRules& rules, bool paragraphs, LineReader read) {
    if (rules.breakString.empty() || rules.width <= 0 || visual.empty() ||
        (paragraphs && !rules.stripParagraphs)) {
        return;
    }
    Rereader(visual, rules, paragraphs, read).Run(modern);
}

}  // namespace modernreread
