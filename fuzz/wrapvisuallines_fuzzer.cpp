// WrapVisualLines: bound, termination for every width, and no byte of the
// text lost.
//
// Input: one flag byte (bits 0-1 breakLines, 2-3 addToHebParagraph, 4-5
// twoCrlfPara, each 0, 1, 2 or -1; bits 6-7 how the width is read), the
// width (one signed byte, one unsigned byte, four bytes big-endian, or one
// byte choosing an extreme), the line mark, the opening and the closing
// string (each a length byte, 0-7, and its bytes), then the text.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "convert/convert.h"
#include "fuzzsupport.h"

namespace {

constexpr int kFlagValues[] = {0, 1, 2, -1};

int ReadWidth(fuzz::ByteReader& reader, unsigned mode) {
    static constexpr int kExtremes[] = {0, -1, 1, INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX - 1};
    switch (mode) {
        case 0:
            return static_cast<int8_t>(reader.Byte());
        case 1:
            return reader.Byte();
        case 2:
            return reader.Int32();
        default:
            return kExtremes[reader.Byte() % std::size(kExtremes)];
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    const uint8_t flags = reader.Byte();
    const int breakLines = kFlagValues[flags & 3];
    const int addToHebParagraph = kFlagValues[(flags >> 2) & 3];
    const int twoCrlfPara = kFlagValues[(flags >> 4) & 3];
    const int width = ReadWidth(reader, flags >> 6);
    fuzz::WrapMarks marks;
    marks.addToBrokenLine = reader.ShortString(7);
    marks.beforeHeb = reader.ShortString(7);
    marks.afterHeb = reader.ShortString(7);
    const std::string input = reader.Rest();

    std::string output = input;
    CConvert::WrapVisualLines(output, width, breakLines, marks.addToBrokenLine, addToHebParagraph,
                              marks.beforeHeb, marks.afterHeb, twoCrlfPara);

    // Bound: n + n * k + c, see WrapBound.
    FUZZ_CHECK(output.size() <=
               fuzz::WrapBound(input.size(), marks, breakLines, addToHebParagraph, twoCrlfPara));

    // The pieces of every line are written trimmed, so every byte but white
    // space is kept; the marks only add bytes. A byte that occurs in no mark
    // (and, with paragraphs, not in "</p>", whose replacement may also take
    // mark bytes) is therefore kept exactly. Without paragraphs no byte but
    // white space is ever lost.
    std::string added = marks.addToBrokenLine + marks.beforeHeb + marks.afterHeb;
    if (twoCrlfPara != 0) {
        added += "</p>";
    }
    const fuzz::ByteCounts in = fuzz::CountBytes(input);
    const fuzz::ByteCounts out = fuzz::CountBytes(output);
    for (unsigned v = 0; v < 256; ++v) {
        if (fuzz::IsEngineWhiteSpace(v)) {
            continue;
        }
        if (!fuzz::Holds(added, v)) {
            FUZZ_CHECK(out[v] == in[v]);
        } else if (twoCrlfPara == 0) {
            FUZZ_CHECK(out[v] >= in[v]);
        }
    }
    return 0;
}
