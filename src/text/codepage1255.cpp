#include "text/codepage1255.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr char32_t kUndefined = 0;

// Bytes 0x80 to 0xFF. kUndefined marks the bytes the code page leaves
// undefined; they get private-use characters below.
constexpr std::array<char32_t, 128> kHighHalf = {
    // 0x80
    0x20AC,
    kUndefined,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,  //
    0x02C6,
    0x2030,
    kUndefined,
    0x2039,
    kUndefined,
    kUndefined,
    kUndefined,
    kUndefined,
    // 0x90
    kUndefined,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,  //
    0x02DC,
    0x2122,
    kUndefined,
    0x203A,
    kUndefined,
    kUndefined,
    kUndefined,
    kUndefined,
    // 0xA0
    0x00A0,
    0x00A1,
    0x00A2,
    0x00A3,
    0x20AA,
    0x00A5,
    0x00A6,
    0x00A7,  //
    0x00A8,
    0x00A9,
    0x00D7,
    0x00AB,
    0x00AC,
    0x00AD,
    0x00AE,
    0x00AF,
    // 0xB0
    0x00B0,
    0x00B1,
    0x00B2,
    0x00B3,
    0x00B4,
    0x00B5,
    0x00B6,
    0x00B7,  //
    0x00B8,
    0x00B9,
    0x00F7,
    0x00BB,
    0x00BC,
    0x00BD,
    0x00BE,
    0x00BF,
    // 0xC0: Hebrew points; 0xCA is hiriq-like point U+05BA
    0x05B0,
    0x05B1,
    0x05B2,
    0x05B3,
    0x05B4,
    0x05B5,
    0x05B6,
    0x05B7,  //
    0x05B8,
    0x05B9,
    0x05BA,
    0x05BB,
    0x05BC,
    0x05BD,
    0x05BE,
    0x05BF,
    // 0xD0
    0x05C0,
    0x05C1,
    0x05C2,
    0x05C3,
    0x05F0,
    0x05F1,
    0x05F2,
    0x05F3,  //
    0x05F4,
    kUndefined,
    kUndefined,
    kUndefined,
    kUndefined,
    kUndefined,
    kUndefined,
    kUndefined,
    // 0xE0: the letters alef to tav
    0x05D0,
    0x05D1,
    0x05D2,
    0x05D3,
    0x05D4,
    0x05D5,
    0x05D6,
    0x05D7,  //
    0x05D8,
    0x05D9,
    0x05DA,
    0x05DB,
    0x05DC,
    0x05DD,
    0x05DE,
    0x05DF,
    // 0xF0
    0x05E0,
    0x05E1,
    0x05E2,
    0x05E3,
    0x05E4,
    0x05E5,
    0x05E6,
    0x05E7,  //
    0x05E8,
    0x05E9,
    0x05EA,
    kUndefined,
    kUndefined,
    0x200E,
    0x200F,
    kUndefined,
};

constexpr char32_t HighHalfCharacter(unsigned index) {
    const char32_t mapped = kHighHalf[index];
    return mapped != kUndefined ? mapped : CodePage1255::kPrivateUseBase + 0x80 + index;
}

struct ReverseEntry {
    char32_t codePoint;
    unsigned char byte;
};

// The high half sorted by character, for a binary search of fixed depth.
constexpr std::array<ReverseEntry, 128> BuildReverse() {
    std::array<ReverseEntry, 128> table{};
    for (unsigned i = 0; i < 128; ++i) {
        table[i] = {HighHalfCharacter(i), static_cast<unsigned char>(0x80 + i)};
    }
    std::sort(table.begin(), table.end(), [](const ReverseEntry& a, const ReverseEntry& b) {
        return a.codePoint < b.codePoint;
    });
    return table;
}

constexpr std::array<ReverseEntry, 128> kReverse = BuildReverse();

}  // namespace

char32_t CodePage1255::ToUnicode(unsigned char byte) {
    return byte < 0x80 ? char32_t{byte} : HighHalfCharacter(byte - 0x80u);
}

std::optional<unsigned char> CodePage1255::FromUnicode(char32_t codePoint) {
    if (codePoint < 0x80) {
        return static_cast<unsigned char>(codePoint);
    }
    const auto it = std::lower_bound(
        kReverse.begin(), kReverse.end(), codePoint,
        [](const ReverseEntry& entry, char32_t value) { return entry.codePoint < value; });
    if (it != kReverse.end() && it->codePoint == codePoint) {
        return it->byte;
    }
    return std::nullopt;
}
