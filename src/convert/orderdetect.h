#pragma once

#include <cstddef>
#include <string_view>

// Telling a page stored in visual order from one in logical order.
namespace orderdetect {

enum class TextOrder { Unknown, Visual, Logical };

// What DetectOrder saw. The counts are kept even when a meta tag settled the
// verdict, so that a caller can show them.
struct OrderEvidence {
    TextOrder order = TextOrder::Unknown;
    // Hebrew words of two letters or more outside tags that begin with a final
    // form (and do not end with one), and those that end with one (and do not
    // begin with one).
    size_t finalFirst = 0;
    size_t finalLast = 0;
    // True when the page's meta tag declares a visual charset.
    bool metaVisual = false;

    bool operator==(const OrderEvidence&) const = default;
};

// The counting rule's thresholds: one kind of word must be at least `ratio`
// times as frequent as the other and number at least `minWords`.
struct OrderThresholds {
    size_t minWords;
    size_t ratio;
};

// The thresholds DetectOrder uses (chosen by measurement; see orderdetect.cpp).
inline constexpr OrderThresholds kOrderThresholds{2, 3};

// The verdict of the counting rule alone.
TextOrder OrderFromCounts(size_t finalFirst, size_t finalLast,
                          const OrderThresholds& thresholds = kOrderThresholds);

// The order of a code page 1255 text (a page or plain text), in one pass over
// it: the final letters at the two ends of its Hebrew words, and a meta tag
// declaring a visual charset, which makes the page visual unless its letters
// say logical.
OrderEvidence DetectOrder(std::string_view text);

// "visual", "logical" or "unknown".
std::string_view OrderName(TextOrder order);

}  // namespace orderdetect
