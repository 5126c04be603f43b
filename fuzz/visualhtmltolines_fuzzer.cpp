// VisualHtmlToLines: bound, and no byte but line ends and spaces is ever
// written twice.
//
// Input: the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/convert.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    const std::string input = reader.Rest();

    std::string output = input;
    CConvert::VisualHtmlToLines(output);

    // Bound: scripts and tags are cut and a line separator inside a Hebrew
    // passage becomes one space. A line end tag (four bytes or more) adds
    // two, and so may each CR, LF or tab skipped after a tag, which itself
    // gives nothing:
    //   size <= n + (CR, LF and tab bytes).
    const fuzz::ByteCounts in = fuzz::CountBytes(input);
    const fuzz::ByteCounts out = fuzz::CountBytes(output);
    FUZZ_CHECK(output.size() <= input.size() + in['\r'] + in['\n'] + in['\t']);

    // Text is only cut, never copied: apart from CR, LF and space, which the
    // line ends and the joins add, no byte value occurs more often than in the
    // input.
    for (unsigned v = 0; v < 256; ++v) {
        if (v != '\r' && v != '\n' && v != ' ') {
            FUZZ_CHECK(out[v] <= in[v]);
        }
    }

    // Without a "<" there is neither a script nor a tag, and the text stays.
    if (in['<'] == 0) {
        FUZZ_CHECK(output == input);
    }
    return 0;
}
