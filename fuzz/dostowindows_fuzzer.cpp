// DosToWindows: bound, recoding, and the removal of space pairs.
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
    CConvert::DosToWindows(output);

    // Bound: the text is rewritten in place and never grows (size <= n); only
    // pairs of spaces vanish, so the difference is even.
    FUZZ_CHECK(output.size() <= input.size());
    FUZZ_CHECK((input.size() - output.size()) % 2 == 0);

    // Every DOS letter is recoded and 0xFF becomes a space, so neither is left.
    // Other bytes than spaces are kept one for one: a Hebrew letter counts the
    // Hebrew letters and the DOS letters of the input.
    const fuzz::ByteCounts in = fuzz::CountBytes(input);
    const fuzz::ByteCounts out = fuzz::CountBytes(output);
    FUZZ_CHECK(out[0xFF] == 0);
    for (unsigned v = 0; v < 256; ++v) {
        if (fuzz::IsDosLetter(v) || v == 0xFF) {
            FUZZ_CHECK(out[v] == 0);
        } else if (v == ' ') {
            FUZZ_CHECK(out[v] <= in[' '] + in[0xFF]);
        } else if (fuzz::IsHebrewLetter(v)) {
            FUZZ_CHECK(out[v] == in[v] + in[v - 0x60]);
        } else {
            FUZZ_CHECK(out[v] == in[v]);
        }
    }

    // A space is kept only when the next input byte is no space, so a text
    // without 0xFF (which turns into a space but pairs as itself) comes out
    // with no two adjacent spaces.
    if (in[0xFF] == 0) {
        FUZZ_CHECK(output.find("  ") == std::string::npos);
    }
    return 0;
}
