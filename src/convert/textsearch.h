#pragma once

#include <string>
#include <string_view>

// Finds a fixed pattern in text. The C library's memmem runs in time linear
// in both (its two-way search), so replacing every occurrence of a long or
// repetitive pattern stays linear.
class PatternFinder {
public:
    explicit PatternFinder(std::string_view pattern) : m_pattern(pattern) {}

    // Position of the first occurrence at or after `from`, or npos. An empty
    // pattern is never found.
    size_t Find(std::string_view text, size_t from = 0) const;

private:
    std::string m_pattern;
};

// Replaces every occurrence of `from` by `to`, left to right and without
// overlap; replaced text is not searched again. Returns the number of
// replacements. An empty `from` replaces nothing.
size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to);

// The first occurrence of a lower-case ASCII pattern at or after `from`,
// ignoring the case of the text (npos for none). For short constant
// patterns: the search is linear in the text.
size_t FindNoCase(std::string_view text, std::string_view pattern, size_t from = 0);

// Whether `text` ends in `suffix` (an empty suffix never).
bool EndsWith(std::string_view text, std::string_view suffix);

// Removes white space (space, tab, CR, LF, VT, FF) from the ends of text.
void TrimWhiteSpace(std::string& text);
void TrimTrailingWhiteSpace(std::string& text);
std::string_view TrimmedView(std::string_view text);

// Calls onLine with each line of bytes as a text-file read gives them: a line
// ends at LF, a CR just before the LF belongs to the line end, and a last line
// without a line end is a line too. Empty bytes have no lines.
template <class OnLine>
void ForEachTextFileLine(std::string_view bytes, OnLine onLine) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) {
            end = bytes.size();
        } else if (end > pos && bytes[end - 1] == '\r') {
            --end;
        }
        onLine(bytes.substr(pos, end - pos));
        pos = next;
    }
}

// text.find(separator, from) for a line separator ("\r\r\n", "\r\n", "\n"
// or "\r"): the separators that end in LF are found by searching for the LF
// (memchr) and looking at the bytes before it, which is faster than a search
// for the first CR where nearly every line has one.
size_t FindSeparator(std::string_view text, size_t from, std::string_view separator);

// The line separator of a text: the first of "\r\r\n", "\r\n", "\n" that occurs
// in it, else "\r".
std::string_view ChooseLineSeparator(std::string_view text);
