// Breaking visual lines to the line length, with line and paragraph marks.
#include <algorithm>
#include <cstdint>

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
    for (size_t s = first; s + 1 < length; ++s) {
        if (line[s] == ' ') {
            return s + 1;
        }
    }
    size_t s = std::min(first, length - 1);
    while (s > 0) {
        --s;
        if (line[s] == ' ') {
            return s + 1;
        }
    }
    return 0;
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

void convertinto::WrapVisualLines(std::string_view source, std::string& result, int width,
                                  int breakLines, const std::string& addToBrokenLine,
                                  int addToHebParagraph, const std::string& beforeHeb,
                                  const std::string& afterHeb, int twoCrlfPara) {
    result.clear();
    if (result.capacity() < source.size()) {
        result.reserve(source.size() + source.size() / 8 + 64);
    }
    bool previousHebrew = false;

    size_t pos = 0;
    while (pos < source.size()) {
        const size_t end = source.find("\r\n", pos);
        std::string_view line;
        if (end == std::string_view::npos) {
            line = source.substr(pos);
            pos = source.size();
        } else {
            line = source.substr(pos, end - pos);
            pos = end + 2;
        }
        if (line.empty() && pos < source.size()) {
            line = "\r\n";  // an empty line inside the text marks a line break
        }

        size_t length = line.size();
        while (length > 0) {
            const size_t cut = BreakPosition(line, length, width);
            const std::string_view piece = line.substr(cut, length - cut);
            length = cut;

            const bool hebrew = piece == "\r\n" || kHebrewLetterSet.AnyIn(piece);
            const std::string_view trimmed = TrimmedView(piece);
            if (hebrew) {
                if (!previousHebrew && addToHebParagraph != 0) {
                    result.append(beforeHeb).append("\r\n");
                }
                result.append(trimmed);
                if (breakLines > 0) {
                    result.append(addToBrokenLine).append("\r\n");
                }
            } else {
                result.append(trimmed);
                if (previousHebrew && addToHebParagraph != 0) {
                    result.append(afterHeb).append("\r\n");
                }
            }
            previousHebrew = hebrew;
        }
    }
    if (addToHebParagraph != 0) {
        result.append(afterHeb).append("\r\n");
    }
    if (twoCrlfPara != 0) {
        const std::string doubled = addToBrokenLine + "\r\n" + addToBrokenLine;
        if (ReplaceAll(result, doubled, "</p>\r\n<p>") > 0) {
            result.insert(0, "<p>");
            result.append("</p>");
        }
    }
}
