#pragma once

#include <string>

// The Hebrew letters of DOS code page 862 (bytes 0x80 to 0x9A, alef to tav in
// the same order as code page 1255's 0xE0 to 0xFA), and the byte-level
// conversions between the two code pages that the DOS text features use.
class CodePage862 {
public:
    static constexpr unsigned char kFirstLetter = 0x80;
    static constexpr unsigned char kLastLetter = 0x9A;

    static bool IsHebrewLetter(unsigned char byte) {
        return byte >= kFirstLetter && byte <= kLastLetter;
    }

    // The Unicode letter (U+05D0 to U+05EA) of a code page 862 Hebrew letter.
    // Only defined for bytes where IsHebrewLetter holds.
    static char32_t LetterToUnicode(unsigned char byte) { return 0x05D0 + (byte - kFirstLetter); }

    // Code page 1255 to 862: the Hebrew letters 0xE0-0xFA become 0x80-0x9A;
    // every other byte stays as it is.
    static unsigned char CharToOem(unsigned char byte);
    static void CharToOem(std::string& text);

    // Code page 862 to 1255: the Hebrew letters 0x80-0x9A become 0xE0-0xFA;
    // every other byte stays as it is.
    static unsigned char OemToChar(unsigned char byte);
    static void OemToChar(std::string& text);
};
