// conversion::ToModern: it ends, its output is bounded, and a page of Hebrew
// words made visual with any settings comes back as the same words in order.
//
// Input: one flag byte (bit 0 strip paragraphs, bits 1-2 BreakLines 0, 1, 2
// or -1, bit 3 AddToHebParagraph, bit 4 "<BR>" and a line end as the mark,
// bit 5 empty marks), one width byte (0-239 as it is, 240 and up an
// extreme), then the text.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "convert/charset.h"
#include "convert/conversionchain.h"
#include "fuzzsupport.h"

namespace {

constexpr int kFlagValues[] = {0, 1, 2, -1};

int ReadWidth(uint8_t b) {
    static constexpr int kExtremes[] = {0, -1, INT_MIN, INT_MAX, 70, 1, 2, 65536};
    return b < 240 ? b : kExtremes[(b - 240) % std::size(kExtremes)];
}

// Hebrew words, spaces and line ends drawn from the input's bytes.
std::string HebrewWords(const std::string& input) {
    std::string text;
    for (unsigned char b : input) {
        if (b % 11 == 0) {
            text += "\r\n";
        } else if (b % 5 == 0) {
            text += ' ';
        } else {
            text += static_cast<char>(0xE0 + b % 27);
        }
    }
    return text;
}

// The words of a text in order, one space after each; tags and the
// declarations are left out.
std::string Words(const std::string& text) {
    std::string words;
    bool inTag = false;
    for (char c : text) {
        if (c == '<') {
            inTag = true;
        } else if (c == '>') {
            inTag = false;
            words += ' ';
        } else if (!inTag && (c == ' ' || c == '\r' || c == '\n')) {
            words += ' ';
        } else if (!inTag) {
            words += c;
        }
    }
    std::string collapsed;
    for (char c : words) {
        if (c != ' ' || (!collapsed.empty() && collapsed.back() != ' ')) {
            collapsed += c;
        }
    }
    if (!collapsed.empty() && collapsed.back() != ' ') {
        collapsed += ' ';
    }
    return collapsed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    const uint8_t flags = reader.Byte();
    ConversionSettings settings;
    const bool strip = (flags & 1) != 0;
    settings.BreakLines = kFlagValues[(flags >> 1) & 3];
    settings.AddToHebParagraph = (flags >> 3) & 1;
    if ((flags & 0x10) != 0) {
        settings.AddToBrokenLine = "<BR>\r\n";
    }
    if ((flags & 0x20) != 0) {
        settings.AddToBrokenLine.clear();
        settings.BeforeHebParagraph.clear();
        settings.AfterHebParagraph.clear();
    }
    settings.BreakLinesAt = ReadWidth(reader.Byte());
    const std::string input = reader.Rest();

    // Any text: it ends, and grows at most by a line end, a space and a
    // split line end for every line, by the page's declarations, and by the
    // entities the reversal wrote as a quotation mark or dropped: a
    // quotation mark written "&quot;", and "&nbsp;" put back between two
    // spaces after a run (no two runs share those spaces).
    std::string output = input;
    const bool converted = conversion::ToModern(output, settings, strip);
    const fuzz::ByteCounts in = fuzz::CountBytes(input);
    FUZZ_CHECK(converted == kHebrewLetterSet.AnyIn(input));
    FUZZ_CHECK(output.size() <=
               input.size() + 5 * (in['\n'] + 1) + 128 + 5 * in['"'] + 3 * in[' ']);

    // Lines of Hebrew words made visual come back as the same words. Without
    // marks the visual conversion writes its pieces with no line end between
    // them, so the words beside each cut run together: nothing to compare.
    if (settings.BreakLines <= 0) {
        return 0;
    }
    const std::string logical = HebrewWords(input);
    std::string page = logical;
    if (!conversion::ToVisual(page, settings, conversion::VisualScope::WholeText)) {
        return 0;
    }
    conversion::ToModern(page, settings, true);
    FUZZ_CHECK(Words(page) == Words(logical));
    return 0;
}
