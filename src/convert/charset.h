#pragma once

#include <array>
#include <string_view>

// A set of bytes with constant-time membership. Built from the byte string that
// lists its members; order and repetition in that string do not matter.
class CharSet {
public:
    constexpr explicit CharSet(std::string_view members) : m_bits{} {
        for (char c : members) {
            m_bits[static_cast<unsigned char>(c)] = true;
        }
    }

    constexpr bool Contains(unsigned char c) const { return m_bits[c]; }
    constexpr bool Contains(char c) const { return m_bits[static_cast<unsigned char>(c)]; }

    // True when any byte of text belongs to the set.
    bool AnyIn(std::string_view text) const {
        for (char c : text) {
            if (Contains(c)) {
                return true;
            }
        }
        return false;
    }

private:
    std::array<bool, 256> m_bits;
};

// The character sets of the conversion engine, as the byte strings the program
// has always used.
namespace charsets {

// The 27 Hebrew letters of code page 1255, alef to tav with the final forms.
inline constexpr std::string_view kHebrewLetters =
    "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED"
    "\xEE\xEF\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xFA";

// The same letters in DOS code page 862, followed by two more 0x80 bytes
// (29 bytes; only membership matters).
inline constexpr std::string_view kDosLetters =
    "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D"
    "\x8E\x8F\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x80\x80";

// A byte of this set starts a Latin run when text is reversed to visual order.
inline constexpr std::string_view kLatinRun =
    "\\@[]_%$#-=/0123456789<>ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Punctuation that may continue a Latin run (but not start one).
inline constexpr std::string_view kRunPunctuation = ";.,'?:\"";

// The run set of the semi-logical toggle: "&" and ";" instead of "<" and ">",
// so that entities stay whole inside a run.
inline constexpr std::string_view kToggleRun =
    "\\&;@[]_%$#-=/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Punctuation that may continue a toggle run (";" belongs to the run set instead).
inline constexpr std::string_view kTogglePunctuation = ".,'?:\"";

// White space trimmed from pieces and results: space, tab, LF, VT, FF, CR.
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

}  // namespace charsets

inline constexpr CharSet kHebrewLetterSet{charsets::kHebrewLetters};
inline constexpr CharSet kDosLetterSet{charsets::kDosLetters};
inline constexpr CharSet kWhiteSpaceSet{charsets::kWhiteSpace};
