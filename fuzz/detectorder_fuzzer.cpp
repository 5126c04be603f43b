// DetectOrder: the counts are bounded by the Hebrew words, the verdict follows
// the counts and the meta tag, and a text without tags or points whose every
// Hebrew word is reversed gets the counts swapped and the opposite verdict.
//
// Input: the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/orderdetect.h"
#include "fuzzsupport.h"

namespace {

bool IsLetter(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 0xE0 && u <= 0xFA;
}

orderdetect::TextOrder Opposite(orderdetect::TextOrder order) {
    switch (order) {
        case orderdetect::TextOrder::Visual:
            return orderdetect::TextOrder::Logical;
        case orderdetect::TextOrder::Logical:
            return orderdetect::TextOrder::Visual;
        case orderdetect::TextOrder::Unknown:
            break;
    }
    return orderdetect::TextOrder::Unknown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    const std::string text = reader.Rest();
    const orderdetect::OrderEvidence e = orderdetect::DetectOrder(text);

    // Each counted word is a run of at least two letters.
    size_t letters = 0;
    for (char c : text) {
        letters += IsLetter(c) ? 1 : 0;
    }
    FUZZ_CHECK(2 * (e.finalFirst + e.finalLast) <= letters);

    const orderdetect::TextOrder byCounts = orderdetect::OrderFromCounts(e.finalFirst, e.finalLast);
    FUZZ_CHECK(e.order == byCounts ||
               (e.metaVisual && byCounts == orderdetect::TextOrder::Unknown &&
                e.order == orderdetect::TextOrder::Visual));

    // Without tags and points, words are exactly the runs of letters.
    const bool plain = std::none_of(text.begin(), text.end(), [](char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        return c == '<' || (u >= 0xC0 && u <= 0xD2);
    });
    if (plain) {
        std::string reversed = text;
        size_t start = 0;
        while (start < reversed.size()) {
            if (!IsLetter(reversed[start])) {
                ++start;
                continue;
            }
            size_t end = start;
            while (end < reversed.size() && IsLetter(reversed[end])) {
                ++end;
            }
            std::reverse(reversed.begin() + static_cast<std::ptrdiff_t>(start),
                         reversed.begin() + static_cast<std::ptrdiff_t>(end));
            start = end;
        }
        const orderdetect::OrderEvidence r = orderdetect::DetectOrder(reversed);
        FUZZ_CHECK(r.finalFirst == e.finalLast && r.finalLast == e.finalFirst);
        FUZZ_CHECK(r.order == Opposite(e.order));
    }
    return 0;
}
