#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the editor view reads out of its text: the runs of markup that
// colouring puts in the code font, the link under a double-click, and whether
// the text holds DOS letters.
namespace viewtext {

struct Range {
    size_t start = 0;
    size_t end = 0;  // one past the last character

    bool operator==(const Range&) const = default;
};

// The code runs of a text, in order: each run starts at a "<" and takes
// everything up to and including the first ">" after it ("<" inside a run
// belongs to it); a "<" without a ">" after it runs to the end of the text.
// Everything between runs is text. The text is fed a piece at a time, each
// with its position, in order; one walk over it. Works on bytes and on the
// editor's UTF-16 text alike, whose positions are the same.
class CodeRunFinder {
public:
    template <class Char>
    void Feed(std::basic_string_view<Char> text, size_t at) {
        constexpr size_t npos = std::basic_string_view<Char>::npos;
        size_t p = 0;
        while (p < text.size()) {
            const size_t found = text.find(Char(m_bOpen ? '>' : '<'), p);
            if (found == npos) {
                return;
            }
            if (m_bOpen) {
                m_runs.push_back({m_start, at + found + 1});
            } else {
                m_start = at + found;
            }
            m_bOpen = !m_bOpen;
            p = found + 1;
        }
    }
    // The runs of the whole text, which is size long.
    std::vector<Range> Finish(size_t size) {
        if (m_bOpen) {
            m_runs.push_back({m_start, size});
            m_bOpen = false;
        }
        return std::move(m_runs);
    }

private:
    std::vector<Range> m_runs;
    size_t m_start = 0;
    bool m_bOpen = false;
};

template <class Char>
std::vector<Range> FindCodeRuns(std::basic_string_view<Char> text) {
    CodeRunFinder finder;
    finder.Feed(text, 0);
    return finder.Finish(text.size());
}

// The link around a double-clicked place (caret) of the code page 1255 text:
// from just after the last quote mark (double or single) or blank before the
// caret to the nearer of the next quote mark or blank at or after it, neither
// bound crossing a line end (CR or LF).
Range LinkAround(std::string_view text, size_t caret);

// The page a double-click at caret opens, as written in the text with "\" as
// "/": the link cut at its first "#" and then at its first "?". Nothing when
// that names no page: it holds neither ".htm" nor ".txt".
std::optional<std::string> LinkTarget(std::string_view text, size_t caret);

// True when the text holds a Hebrew letter of DOS code page 862 (0x80 to 0x9A).
bool HoldsDosLetter(std::string_view text);

}  // namespace viewtext
