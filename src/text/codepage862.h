#pragma once

#include <string>

// The Hebrew letters of DOS code page 862 (bytes 0x80 to 0x9A, alef to tav in
// the same order as code page 1255's 0xE0 to 0xFA), and the byte mapping of
// the DOS display between the two code pages.
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

    // The letters of the two code pages trade places: 0x80-0x9A become
    // 0xE0-0xFA and 0xE0-0xFA become 0x80-0x9A; every other byte stays as it
    // is. Applied twice it gives back the bytes it was given, so a page shown
    // through it and mapped back is exactly the page that was loaded, even
    // when it mixes DOS letters with code page 1255 letters and punctuation
    // (0x80-0x9A are also the euro sign, quotes and dashes of code page 1255).
    static unsigned char SwapLetters(unsigned char byte);
    static void SwapLetters(std::string& text);
};
