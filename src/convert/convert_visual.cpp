// Logical text to visual lines, and DOS letters to code page 1255.
#include "convert/convert.h"
#include "convert/linereverser.h"
#include "convert/textsearch.h"

namespace {
constexpr CharSet kLatinRunSet{charsets::kLatinRun};
constexpr CharSet kRunPunctuationSet{charsets::kRunPunctuation};
}  // namespace

void CConvert::LogicalToVisual(std::string& text, int tabMode, bool keepOuterSpace) {
    const std::string_view sep = ChooseLineSeparator(text);
    const ReverseRules rules{kLatinRunSet, kRunPunctuationSet, true, tabMode == 1};
    const LineReverser reverser(rules);
    const std::string_view source(text);

    std::string result;
    result.reserve(source.size() + source.size() / 16 + 16);
    size_t pos = 0;
    while (pos < source.size()) {
        size_t end = source.find(sep, pos);
        size_t next = end == std::string_view::npos ? source.size() : end + sep.size();
        if (end == std::string_view::npos) {
            end = source.size();
        }
        reverser.Append(source.substr(pos, end - pos), result);
        result.append("\r\n");
        pos = next;
    }
    if (!keepOuterSpace) {
        TrimWhiteSpace(result);
    }
    text.swap(result);
}

void CConvert::DosToWindows(std::string& text) {
    // Rewrites in place: the output never grows, so `out` trails `in`. The byte
    // after a space is compared as it stands in the input (0xFF is not yet a
    // space there), as the program has always done.
    const size_t n = text.size();
    size_t out = 0;
    size_t in = 0;
    while (in < n) {
        unsigned char c = static_cast<unsigned char>(text[in]);
        if (c == 0xFF) {
            c = ' ';
        }
        if (c == ' ' && in + 1 < n && text[in + 1] == ' ') {
            in += 2;
            continue;
        }
        if (c >= 0x80 && c <= 0x9A) {
            c = static_cast<unsigned char>(c + 0x60);
        }
        text[out++] = static_cast<char>(c);
        ++in;
    }
    text.resize(out);
}
