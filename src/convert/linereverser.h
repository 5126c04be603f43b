#pragma once

#include <array>
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

// Turns lines around into display order: the line read from right to left,
// except that runs (Latin words, numbers, tags) keep their own order, and
// "(" and ")" exchanged. Bytes 0x80 to 0xDF (points, typographic marks) are
// dropped, except the ellipsis 0x85, which becomes "...".
class LineReverser {
public:
    explicit LineReverser(const ReverseRules& rules);

    // Appends the display-order form of `line` to `out`.
    void Append(std::string_view line, std::string& out) const;

private:
    // What the scan does with each byte outside a run.
    enum ByteClass : unsigned char { kPlain, kRunStart, kDropped, kEllipsis, kAmpersand, kTab };

    const ReverseRules& m_rules;
    std::array<unsigned char, 256> m_class;      // ByteClass of each byte
    std::array<bool, 256> m_continuesRun;        // run set, punctuation and space
    std::array<char, 256> m_mirror;              // "(" and ")" exchanged
};
