#pragma once

#include <optional>

// Code page 1255 (Windows Hebrew) as the Encoding Standard defines it, made a
// bijection between the 256 bytes and 256 Unicode characters: the bytes the
// code page leaves undefined map to the private-use characters U+F700 + byte.
// The editor's codec relies on this, so that any byte string survives a round
// trip through Unicode unchanged.
class CodePage1255 {
public:
    // Base of the private-use characters that stand for undefined bytes.
    static constexpr char32_t kPrivateUseBase = 0xF700;

    // The Unicode character of a byte; distinct for every byte.
    static char32_t ToUnicode(unsigned char byte);

    // The byte of a Unicode character, or nothing when the code page has no
    // byte for it. Inverse of ToUnicode. Constant time.
    static std::optional<unsigned char> FromUnicode(char32_t codePoint);
};
