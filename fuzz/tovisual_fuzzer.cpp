// conversion::ToVisual for the whole text, a selection and the raw scope.
//
// Input: one flag byte (bits 0-1 the scope: whole text, selection, raw, and
// whole text again; bit 2 RemoveTag; bits 3-4 BreakLines 0, 1, 2 or -1; bit 5
// AddToHebParagraph; bit 6 TwoCRLFPara; bit 7 empty marks instead of the
// program's), one width byte (0-239 as it is, 240 and up an extreme), then
// the text.
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
constexpr conversion::VisualScope kScopes[] = {
    conversion::VisualScope::WholeText, conversion::VisualScope::Selection,
    conversion::VisualScope::Raw, conversion::VisualScope::WholeText};

int ReadWidth(uint8_t b) {
    static constexpr int kExtremes[] = {0, -1, INT_MIN, INT_MAX, 70, 1, 2, 65536};
    return b < 240 ? b : kExtremes[(b - 240) % std::size(kExtremes)];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    const uint8_t flags = reader.Byte();
    const conversion::VisualScope scope = kScopes[flags & 3];
    ConversionSettings settings;
    settings.RemoveTag = (flags >> 2) & 1;
    settings.BreakLines = kFlagValues[(flags >> 3) & 3];
    settings.AddToHebParagraph = (flags >> 5) & 1;
    settings.TwoCRLFPara = (flags >> 6) & 1;
    if ((flags & 0x80) != 0) {
        settings.AddToBrokenLine.clear();
        settings.BeforeHebParagraph.clear();
        settings.AfterHebParagraph.clear();
    }
    settings.BreakLinesAt = ReadWidth(reader.Byte());
    const std::string input = reader.Rest();

    std::string output = input;
    const bool converted = conversion::ToVisual(output, settings, scope);

    // Nothing to convert: the text is left as it is.
    const bool hebrew = kHebrewLetterSet.AnyIn(input);
    const bool dos = kDosLetterSet.AnyIn(input);
    FUZZ_CHECK(converted == (hebrew || dos));
    if (!converted) {
        FUZZ_CHECK(output == input);
        return 0;
    }

    // Bound: the reversal (LogicalToVisualBound) or the recoding (at most n),
    // then, unless raw, two bytes for a short selection's CR LF and the
    // wrapping (WrapBound with the settings' strings, which bounds the
    // selection's case without strings too).
    const size_t reversed = hebrew ? fuzz::LogicalToVisualBound(input) : input.size();
    if (scope == conversion::VisualScope::Raw) {
        FUZZ_CHECK(output.size() <= reversed);
    } else {
        const fuzz::WrapMarks marks{settings.AddToBrokenLine, settings.BeforeHebParagraph,
                                    settings.AfterHebParagraph};
        FUZZ_CHECK(output.size() <= fuzz::WrapBound(reversed + 2, marks, settings.BreakLines,
                                                    settings.AddToHebParagraph,
                                                    settings.TwoCRLFPara));
    }

    // Hebrew text keeps its letters and loses every point and mark
    // (0x80-0xDF); DOS text has its letters recoded. The marks are ASCII.
    // ASCII letters and digits that occur in no mark are kept exactly unless
    // entities consumed some.
    const std::string added = settings.AddToBrokenLine + settings.BeforeHebParagraph +
                              settings.AfterHebParagraph + "</p>";
    const fuzz::ByteCounts in = fuzz::CountBytes(input);
    const fuzz::ByteCounts out = fuzz::CountBytes(output);
    for (unsigned v = 0; v < 256; ++v) {
        if (fuzz::IsHebrewLetter(v)) {
            FUZZ_CHECK(out[v] == (hebrew ? in[v] : in[v - 0x60]));
        } else if (fuzz::IsDosLetter(v) || (hebrew && v >= 0x80 && v <= 0xDF)) {
            FUZZ_CHECK(out[v] == 0);
        } else if (fuzz::IsAsciiAlnum(v) && !fuzz::Holds(added, v)) {
            FUZZ_CHECK(hebrew && in['&'] != 0 ? out[v] <= in[v] : out[v] == in[v]);
        }
    }
    return 0;
}
