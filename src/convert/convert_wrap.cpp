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
        const auto in = [](char c) { return static_cast<unsigned>(kHebrewLetterSet.Contains(c)); };
        if ((in(p[0]) | in(p[1]) | in(p[2]) | in(p[3])) != 0) {
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

void Append(std::string& out, std::string_view bytes) {
    out.append(bytes);
}
void Append(ByteSink& out, std::string_view bytes) {
    out.Append(bytes);
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
      m_afterHeb(std::move(afterHeb.append("\r\n"))) {
    if (m_addToBrokenLine.size() <= sizeof(m_shortMark)) {
        std::memcpy(m_shortMark, m_addToBrokenLine.data(), m_addToBrokenLine.size());
        m_markIsShort = true;
    }
}

void ByteSink::Grow(size_t n) {
    const size_t capacity = std::max({m_capacity * 2, m_size + n, kInitial});
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    std::memcpy(data.get(), m_data.get(), m_size);
    m_data = std::move(data);
    m_capacity = capacity;
}

void VisualLineWrapper::PieceAndMark(std::string_view piece, std::string& out) {
    out.append(piece);
    out.append(m_addToBrokenLine);
}

// The mark as one fixed 16-byte copy into room taken together with the
// piece's, instead of a second append with its capacity check and library
// memcpy call (about 42 instructions a mark; see ByteSink for the gain).
void VisualLineWrapper::PieceAndMark(std::string_view piece, ByteSink& out) {
    if (!m_markIsShort) {
        out.Append(piece);
        out.Append(m_addToBrokenLine);
        return;
    }
    char* const to = out.Room(piece.size() + sizeof(m_shortMark));
    std::memcpy(to, piece.data(), piece.size());
    std::memcpy(to + piece.size(), m_shortMark, sizeof(m_shortMark));
    out.Commit(piece.size() + m_addToBrokenLine.size());
}

void VisualLineWrapper::Line(std::string_view line, ByteSink& out) {
    LineInto(line, out);
}

template <class Out>
void VisualLineWrapper::LineInto(std::string_view line, Out& out) {
    size_t length = line.size();
    while (length > 0) {
        const size_t cut = BreakPosition(line, length, m_width);
        const std::string_view piece = line.substr(cut, length - cut);
        length = cut;

        const bool hebrew = piece == "\r\n" || AnyHebrewLetter(piece);
        const std::string_view trimmed = TrimmedView(piece);
        if (hebrew) {
            if (!m_previousHebrew && m_addToHebParagraph != 0) {
                Append(out, m_beforeHeb);
            }
            if (m_breakLines > 0) {
                PieceAndMark(trimmed, out);
            } else {
                Append(out, trimmed);
            }
        } else {
            Append(out, trimmed);
            if (m_previousHebrew && m_addToHebParagraph != 0) {
                Append(out, m_afterHeb);
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

void VisualLineWrapper::Finish(ByteSink& out) {
    if (m_addToHebParagraph != 0) {
        out.Append(m_afterHeb);
    }
}

size_t VisualLineWrapper::Lines(std::string_view text, size_t& from, bool final, std::string& out) {
    return LinesInto(text, from, final, out);
}

size_t VisualLineWrapper::Lines(std::string_view text, size_t& from, bool final, ByteSink& out) {
    return LinesInto(text, from, final, out);
}

template <class Out>
size_t VisualLineWrapper::LinesInto(std::string_view text, size_t& from, bool final, Out& out) {
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
        LineInto(line, out);
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
