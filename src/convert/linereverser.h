#pragma once

#include <string>
#include <string_view>

#include "convert/charset.h"

// The rules by which one stretch of text is turned around into display order.
// The conversion to visual and the semi-logical toggle differ only in these.
struct ReverseRules {
    const CharSet& runSet;       // a byte of this set starts a run kept in its own order
    const CharSet& punctuation;  // may continue a run, dropped from a run's end
    bool entities;               // "&quot;" becomes a double quote, "&nbsp;" vanishes
    bool tabToSpace;             // each tab becomes one space
};

// Appends the display-order form of `line` to `out`: the line read from right
// to left, except that runs (Latin words, numbers, tags) keep their own order,
// then "(" and ")" exchanged. Bytes 0x80 to 0xDF (points, typographic marks)
// are dropped, except the ellipsis 0x85, which becomes "...".
void AppendReversed(std::string_view line, const ReverseRules& rules, std::string& out);
