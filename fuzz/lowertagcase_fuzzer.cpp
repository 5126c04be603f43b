// LowerTagCase: the length stays, and only A-Z inside complete tags change.
//
// Input: the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/convert.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    const std::string input = reader.Rest();

    const std::string output = CConvert::LowerTagCase(input);

    // Bound: the length is kept exactly (size == n).
    FUZZ_CHECK(output.size() == input.size());

    // A complete tag runs from "<" to the first ">" after it; the next tag is
    // looked for after that ">". A "<" with no ">" after it, and everything
    // after it, is no tag.
    std::vector<bool> inTag(input.size(), false);
    size_t pos = 0;
    while (pos < input.size()) {
        const size_t lt = input.find('<', pos);
        if (lt == std::string::npos) {
            break;
        }
        const size_t gt = input.find('>', lt);
        if (gt == std::string::npos) {
            break;
        }
        for (size_t k = lt; k <= gt; ++k) {
            inTag[k] = true;
        }
        pos = gt + 1;
    }

    // Inside a tag A-Z become a-z and nothing else changes; outside no byte does.
    for (size_t k = 0; k < input.size(); ++k) {
        const char c = input[k];
        const bool upper = c >= 'A' && c <= 'Z';
        const char expected = inTag[k] && upper ? static_cast<char>(c - 'A' + 'a') : c;
        FUZZ_CHECK(output[k] == expected);
    }
    return 0;
}
