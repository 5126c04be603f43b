#pragma once

#include <array>
#include <cstdint>
#include <memory>
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

    // Appends the display-order form of `line` to `out`. The form is built
    // in the reverser's own working buffer and appended, so `out` is never
    // zero-filled ahead of the bytes written into it.
    void Append(std::string_view line, std::string& out) const;

    // The most bytes the display-order form of `line` can take: one a byte,
    // three for an ellipsis.
    static size_t Bound(std::string_view line);
    // Bytes before the written form that WriteBackwards may overwrite: it
    // stores 16 bytes at a time where a stretch is shorter.
    static constexpr size_t kSlack = 16;
    // Writes the display-order form of `line` backwards, ending just before
    // `end`; the caller makes Bound(line) + kSlack bytes before `end`
    // writable. Returns where the written form starts.
    char* WriteBackwards(std::string_view line, char* end) const;

private:
    // What the scan does with each byte outside a run.
    enum ByteClass : unsigned char {
        kPlain,        // put in front as it is
        kParenthesis,  // put in front mirrored
        kRunStart,
        kDropped,
        kEllipsis,
        kAmpersand,
        kTab
    };

    // The high bit set in each byte of `word` (as loaded from memory) that
    // is neither a space nor a byte of 0xE0-0xFF; those are plain when
    // m_wordTest holds.
    static uint64_t NeitherLetterNorSpace(uint64_t word);

    // Bit sets of a line, one bit a byte: which bytes are plain, which
    // continue a run. False where a set is not expressible in the nibble
    // tables or the processor lacks AVX2; then the bytes are tested one by one.
    // `noSpecial`: no byte of the line changes the length of its display
    // form (see WriteBackwards).
    bool Classify(std::string_view line, bool& noSpecial) const;
    // Writes the run that starts at s[i] in front of `p` (see the definition).
    template <bool kExact>
    size_t WriteRun(const char* s, size_t i, size_t n, const uint64_t* bits, char*& p) const;
    // The first byte at or after `from` whose bit is clear in `bits`, or `n`.
    static size_t NextClear(const uint64_t* bits, size_t from, size_t n);

    const ReverseRules& m_rules;
    std::array<unsigned char, 256> m_class;  // ByteClass of each byte
    std::array<bool, 256> m_continuesRun;    // run set, punctuation and space
    bool m_wordTest;                         // spaces and bytes 0xE0-0xFF are plain: AllPlain holds

    // The nibble tables of the plain and the run-continuing bytes (a byte is in
    // a set when lo[byte & 15] & hi[byte >> 4] is not zero), each 16 bytes
    // twice over for the two halves of a 32-byte register.
    struct NibbleTables {
        alignas(32) unsigned char lo[32];
        alignas(32) unsigned char hi[32];
    };
    NibbleTables m_plainNibbles{};
    NibbleTables m_runNibbles{};
    NibbleTables m_specialNibbles{};  // bytes neither plain, nor run starts, nor parentheses
    bool m_vector = false;            // Classify is used
    // Classify's bit sets: word 2k of plain bytes, 2k + 1 of run bytes.
    mutable std::unique_ptr<uint64_t[]> m_bits;
    mutable size_t m_bitsSize = 0;

    // Append's working buffer, kept between calls (uninitialised memory).
    mutable std::unique_ptr<char[]> m_scratch;
    mutable size_t m_scratchSize = 0;
};
