// LogicalToVisual: bound, letter counts, trimming, and the round trip of
// Hebrew words.
//
// Input: one flag byte (bits 0-1 the tab mode 0, 1, 2 or -1; bit 2 keep outer
// white space; bit 3 LF instead of CR LF between the lines of the round-trip
// text), then the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/convert.h"
#include "fuzzsupport.h"

namespace {

// Lines of Hebrew words separated by single spaces, drawn from the text: a
// byte divisible by 8 ends a word, one that is 1 modulo 16 ends a line, any
// other byte adds a letter. Words and lines are never empty at the ends, so
// trimming takes nothing from them; empty lines inside are kept.
std::vector<std::string> HebrewLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char ch : text) {
        const unsigned v = static_cast<unsigned char>(ch);
        if (v % 16 == 1) {
            lines.emplace_back();
        } else if (v % 8 == 0) {
            if (!lines.back().empty() && lines.back().back() != ' ') {
                lines.back().push_back(' ');
            }
        } else {
            lines.back().push_back(static_cast<char>(0xE0 + v % 27));
        }
    }
    for (std::string& line : lines) {
        if (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
    }
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    size_t first = 0;
    while (first < lines.size() && lines[first].empty()) {
        ++first;
    }
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(first));
    return lines;
}

std::string Join(const std::vector<std::string>& lines, const std::string& sep, bool reversed) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += sep;
        }
        if (reversed) {
            text.append(lines[i].rbegin(), lines[i].rend());
        } else {
            text += lines[i];
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    const uint8_t flags = reader.Byte();
    static constexpr int kTabModes[] = {0, 1, 2, -1};
    const int tabMode = kTabModes[flags & 3];
    const bool keepOuterSpace = (flags & 4) != 0;
    const std::string input = reader.Rest();

    std::string output = input;
    CConvert::LogicalToVisual(output, tabMode, keepOuterSpace);

    // Bound: see LogicalToVisualBound.
    FUZZ_CHECK(output.size() <= fuzz::LogicalToVisualBound(input));

    // An empty text stays empty; kept outer white space leaves the last CR LF.
    if (input.empty()) {
        FUZZ_CHECK(output.empty());
    } else if (keepOuterSpace) {
        FUZZ_CHECK(output.size() >= 2 && output.compare(output.size() - 2, 2, "\r\n") == 0);
    } else if (!output.empty()) {
        FUZZ_CHECK(!fuzz::IsEngineWhiteSpace(static_cast<unsigned char>(output.front())));
        FUZZ_CHECK(!fuzz::IsEngineWhiteSpace(static_cast<unsigned char>(output.back())));
    }

    // Hebrew letters are never dropped or added. ASCII letters and digits are
    // kept too, except those of the entities "&quot;" and "&nbsp;" that are
    // consumed, so they are exact only in a text without "&". Points and
    // marks (0x80-0xDF) are all dropped; the ellipsis becomes "...".
    const fuzz::ByteCounts in = fuzz::CountBytes(input);
    const fuzz::ByteCounts out = fuzz::CountBytes(output);
    const bool noEntities = in['&'] == 0;
    for (unsigned v = 0; v < 256; ++v) {
        if (fuzz::IsHebrewLetter(v)) {
            FUZZ_CHECK(out[v] == in[v]);
        } else if (fuzz::IsAsciiAlnum(v)) {
            FUZZ_CHECK(noEntities ? out[v] == in[v] : out[v] <= in[v]);
        } else if (v >= 0x80 && v <= 0xDF) {
            FUZZ_CHECK(out[v] == 0);
        }
    }

    // Hebrew words separated by single spaces hold no run, so each line is
    // simply reversed, and a second conversion gives the lines back with CR LF
    // between them (and after the last one when outer white space is kept).
    const std::vector<std::string> lines = HebrewLines(input);
    if (!lines.empty()) {
        const std::string sep = (flags & 8) != 0 ? "\n" : "\r\n";
        const std::string tail = keepOuterSpace ? "\r\n" : "";
        std::string text = Join(lines, sep, false);
        CConvert::LogicalToVisual(text, tabMode, keepOuterSpace);
        FUZZ_CHECK(text == Join(lines, "\r\n", true) + tail);
        CConvert::LogicalToVisual(text, tabMode, keepOuterSpace);
        FUZZ_CHECK(text == Join(lines, "\r\n", false) + tail);
    }
    return 0;
}
