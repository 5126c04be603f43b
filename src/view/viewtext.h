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
// Everything between runs is text. One walk over the text; works on bytes
// and on the editor's UTF-16 text alike, whose positions are the same.
template <class Char>
std::vector<Range> FindCodeRuns(std::basic_string_view<Char> text) {
    std::vector<Range> runs;
    size_t p = 0;
    while (p < text.size()) {
        const size_t open = text.find(Char('<'), p);
        if (open == std::basic_string_view<Char>::npos) {
            break;
        }
        const size_t close = text.find(Char('>'), open);
        const size_t end = close == std::basic_string_view<Char>::npos ? text.size() : close + 1;
        runs.push_back({open, end});
        p = end;
    }
    return runs;
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
