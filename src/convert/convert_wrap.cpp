// Breaking visual lines to the line length, with line and paragraph marks.
#include <string.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "convert/convert.h"
#include "convert/convertinto.h"
#include "convert/textsearch.h"

namespace {

// Where to cut the next piece off the right end of line[0, length): the piece
// is line[result, length). A line that fits is one piece. Otherwise the cut
// follows the first space at or after index length - width. Where that space
// is missing or is the line's last byte (the piece would be empty), the cut
// follows the nearest space before that index instead, so no word is split
// and the piece is never empty; a line without such a space is one piece.
// Every call therefore shortens the line, also for a width of 0 or below.
size_t BreakPosition(std::string_view line, size_t length, int width) {
    const int64_t start = static_cast<int64_t>(length) - width;
    if (start <= 0) {
        return 0;
    }
    const size_t first = static_cast<size_t>(start);
    // memchr / memrchr instead of byte loops (the C library's vector search):
    // to-visual on 10 MB went from 188.2 to 187.2 million instructions
    // (callgrind), the wrapper's own share from 32.2 to 31.2 million.
    if (first + 1 < length) {
        const void* hit = std::memchr(line.data() + first, ' ', length - 1 - first);
        if (hit != nullptr) {
            return static_cast<size_t>(static_cast<const char*>(hit) - line.data()) + 1;
        }
    }
    const size_t before = std::min(first, length - 1);
    const void* hit = ::memrchr(line.data(), ' ', before);
    return hit == nullptr ? 0
                          : static_cast<size_t>(static_cast<const char*>(hit) - line.data()) + 1;
}

// kHebrewLetterSet.AnyIn(piece), four bytes per branch: the table look-ups
// of four bytes are or-ed before the one test. to-visual on 10 MB (callgrind,
// RelWithDebInfo build): 191.5 to 190.8 million instructions.
bool AnyHebrewLetter(std::string_view piece) {
    const char* p = piece.data();
    const char* const end = p + piece.size();
    for (; end - p >= 4; p += 4) {
        // (As integers: clang warns of "|" between booleans.)
        if ((static_cast<unsigned>(kHebrewLetterSet.Contains(p[0])) |
             static_cast<unsigned>(kHebrewLetterSet.Contains(p[1])) |
             static_cast<unsigned>(kHebrewLetterSet.Contains(p[2])) |
             static_cast<unsigned>(kHebrewLetterSet.Contains(p[3]))) != 0) {
            return true;
        }
    }
    for (; p < end; ++p) {
        if (kHebrewLetterSet.Contains(*p)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void CConvert::WrapVisualLines(std::string& text, int width, int breakLines,
                               const std::string& addToBrokenLine, int addToHebParagraph,
                               const std::string& beforeHeb, const std::string& afterHeb,
                               int twoCrlfPara) {
    std::string result;
    convertinto::WrapVisualLines(text, result, width, breakLines, addToBrokenLine,
                                 addToHebParagraph, beforeHeb, afterHeb, twoCrlfPara);
    text.swap(result);
}

VisualLineWrapper::VisualLineWrapper(int width, int breakLines, std::string addToBrokenLine,
                                     int addToHebParagraph, std::string beforeHeb,
                                     std::string afterHeb)
    : m_width(width),
      m_breakLines(breakLines),
      m_addToHebParagraph(addToHebParagraph),
      // Each mark is always followed by CR LF, so the CR LF is kept with it:
      // one append per mark instead of two. to-visual on 10 MB: 187.2 to
      // 183.4 million instructions (callgrind).
      m_addToBrokenLine(std::move(addToBrokenLine.append("\r\n"))),
      m_beforeHeb(std::move(beforeHeb.append("\r\n"))),
      m_afterHeb(std::move(afterHeb.append("\r\n"))) {}

void VisualLineWrapper::Line(std::string_view line, std::string& out) {
    size_t length = line.size();
    while (length > 0) {
        const size_t cut = BreakPosition(line, length, m_width);
        const std::string_view piece = line.substr(cut, length - cut);
        length = cut;

        const bool hebrew = piece == "\r\n" || AnyHebrewLetter(piece);
        const std::string_view trimmed = TrimmedView(piece);
        if (hebrew) {
            if (!m_previousHebrew && m_addToHebParagraph != 0) {
                out.append(m_beforeHeb);
            }
            out.append(trimmed);
            if (m_breakLines > 0) {
                out.append(m_addToBrokenLine);
            }
        } else {
            out.append(trimmed);
            if (m_previousHebrew && m_addToHebParagraph != 0) {
                out.append(m_afterHeb);
            }
        }
        m_previousHebrew = hebrew;
    }
}

void VisualLineWrapper::Finish(std::string& out) {
    if (m_addToHebParagraph != 0) {
        out.append(m_afterHeb);
    }
}

size_t VisualLineWrapper::Lines(std::string_view text, size_t& from, bool final, std::string& out) {
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = FindSeparator(text, std::max(pos, from), "\r\n");
        from = end == std::string_view::npos ? text.size() - std::min<size_t>(text.size(), 1) : end;
        std::string_view line;
        size_t next = 0;
        if (end == std::string_view::npos) {
            if (!final) {
                break;  // the line goes on in the next block
            }
            line = text.substr(pos);
            next = text.size();
        } else {
            line = text.substr(pos, end - pos);
            next = end + 2;
            if (next == text.size() && !final) {
                break;  // whether an empty line is the last one is not known yet
            }
        }
        if (line.empty() && next < text.size()) {
            line = "\r\n";  // an empty line inside the text marks a line break
        }
        Line(line, out);
        pos = next;
    }
    return pos;
}

void convertinto::WrapVisualLines(std::string_view source, std::string& result, int width,
                                  int breakLines, const std::string& addToBrokenLine,
                                  int addToHebParagraph, const std::string& beforeHeb,
                                  const std::string& afterHeb, int twoCrlfPara) {
    result.clear();
    if (result.capacity() < source.size()) {
        result.reserve(source.size() + source.size() / 8 + 64);
    }
    VisualLineWrapper wrapper(width, breakLines, addToBrokenLine, addToHebParagraph, beforeHeb,
                              afterHeb);
    size_t from = 0;
    wrapper.Lines(source, from, true, result);
    wrapper.Finish(result);
    if (twoCrlfPara != 0) {
        convertinto::MarkParagraphs(result, addToBrokenLine);
    }
}

void convertinto::MarkParagraphs(std::string& text, const std::string& addToBrokenLine) {
    const std::string doubled = addToBrokenLine + "\r\n" + addToBrokenLine;
    if (ReplaceAll(text, doubled, "</p>\r\n<p>") > 0) {
        text.insert(0, "<p>");
        text.append("</p>");
    }
}
