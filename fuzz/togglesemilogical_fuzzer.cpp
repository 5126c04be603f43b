// ToggleSemiLogical: bound, letters kept, and tags kept byte for byte.
//
// Input: the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/convert.h"
#include "fuzzsupport.h"

namespace {

// The complete tags of a text in order: "<" to the first ">" after it, the
// next looked for after that ">".
std::vector<std::string_view> Tags(std::string_view text) {
    std::vector<std::string_view> tags;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t lt = text.find('<', pos);
        if (lt == std::string_view::npos) {
            break;
        }
        const size_t gt = text.find('>', lt);
        if (gt == std::string_view::npos) {
            break;
        }
        tags.push_back(text.substr(lt, gt + 1 - lt));
        pos = gt + 1;
    }
    return tags;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    const std::string input = reader.Rest();

    std::string output = input;
    CConvert::ToggleSemiLogical(output);

    // Bound: every byte of a segment gives at most one byte except the
    // ellipsis 0x85, which gives three; bytes outside segments are copied:
    //   size <= n + 2 * (0x85 bytes).
    const fuzz::ByteCounts in = fuzz::CountBytes(input);
    const fuzz::ByteCounts out = fuzz::CountBytes(output);
    FUZZ_CHECK(output.size() <= input.size() + 2 * in[0x85]);

    // Segments are turned around, never cut short: every Hebrew letter and
    // every ASCII letter and digit is kept (the toggle has no entity rule).
    for (unsigned v = 0; v < 256; ++v) {
        if (fuzz::IsHebrewLetter(v) || fuzz::IsAsciiAlnum(v)) {
            FUZZ_CHECK(out[v] == in[v]);
        }
    }

    // A segment runs from a Hebrew letter (or the start) to the next "<", so
    // a tag without a Hebrew letter is never inside one: the tags come out
    // byte for byte and in order. (A Hebrew letter inside a tag starts a
    // segment there and turns the rest of the tag with it, as documented.)
    const std::vector<std::string_view> tagsIn = Tags(input);
    bool hebrewInTag = false;
    for (std::string_view tag : tagsIn) {
        for (char c : tag) {
            hebrewInTag = hebrewInTag || fuzz::IsHebrewLetter(static_cast<unsigned char>(c));
        }
    }
    if (!hebrewInTag) {
        FUZZ_CHECK(Tags(output) == tagsIn);
    }
    return 0;
}
