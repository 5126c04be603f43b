#include <gtest/gtest.h>

#include <set>

#include "text/codepage1255.h"
#include "text/codepage862.h"

namespace {

constexpr unsigned char kUndefinedBytes[] = {0x81, 0x8A, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x9A,
                                             0x9C, 0x9D, 0x9E, 0x9F, 0xD9, 0xDA, 0xDB, 0xDC,
                                             0xDD, 0xDE, 0xDF, 0xFB, 0xFC, 0xFF};

TEST(CodePage1255, EveryByteHasItsOwnCharacterAndComesBack) {
    std::set<char32_t> seen;
    for (unsigned b = 0; b < 256; ++b) {
        const char32_t cp = CodePage1255::ToUnicode(static_cast<unsigned char>(b));
        EXPECT_TRUE(seen.insert(cp).second)
            << "byte " << b << " shares U+" << std::hex << static_cast<unsigned>(cp);
        EXPECT_EQ(CodePage1255::FromUnicode(cp), static_cast<unsigned char>(b)) << b;
    }
}

TEST(CodePage1255, UndefinedBytesAndOnlyThoseArePrivateUse) {
    std::set<unsigned> undefined(std::begin(kUndefinedBytes), std::end(kUndefinedBytes));
    for (unsigned b = 0; b < 256; ++b) {
        const char32_t cp = CodePage1255::ToUnicode(static_cast<unsigned char>(b));
        if (undefined.count(b) != 0) {
            EXPECT_EQ(cp, 0xF700 + b) << b;
        } else {
            EXPECT_TRUE(cp < 0xE000 || cp > 0xF8FF) << b;
        }
    }
}

TEST(CodePage1255, KnownCharacters) {
    const struct {
        unsigned char byte;
        char32_t cp;
    } cases[] = {{0x41, 0x41},   {0x80, 0x20AC}, {0x96, 0x2013}, {0xA4, 0x20AA}, {0xAA, 0x00D7},
                 {0xBA, 0x00F7}, {0xC0, 0x05B0}, {0xCA, 0x05BA}, {0xD4, 0x05F0}, {0xD8, 0x05F4},
                 {0xE0, 0x05D0}, {0xEA, 0x05DA}, {0xFA, 0x05EA}, {0xFD, 0x200E}, {0xFE, 0x200F}};
    for (const auto& c : cases) {
        EXPECT_EQ(CodePage1255::ToUnicode(c.byte), c.cp) << int{c.byte};
    }
}

TEST(CodePage1255, CharactersWithoutAByte) {
    for (char32_t cp : {char32_t{0x0081}, char32_t{0x00C0}, char32_t{0x4E2D}, char32_t{0xF780},
                        char32_t{0xF700}, char32_t{0x05EB}, char32_t{0x1F600}}) {
        EXPECT_FALSE(CodePage1255::FromUnicode(cp).has_value())
            << std::hex << static_cast<unsigned>(cp);
    }
}

TEST(CodePage862, LettersOfTheTwoCodePagesTradePlacesAndNothingElseMoves) {
    for (unsigned b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const bool windowsLetter = b >= 0xE0 && b <= 0xFA;
        const bool dosLetter = b >= 0x80 && b <= 0x9A;
        const unsigned expected = windowsLetter ? b - 0x60 : dosLetter ? b + 0x60 : b;
        EXPECT_EQ(CodePage862::SwapLetters(byte), expected) << b;
        EXPECT_EQ(CodePage862::SwapLetters(CodePage862::SwapLetters(byte)), byte) << b;
        EXPECT_EQ(CodePage862::IsHebrewLetter(byte), dosLetter) << b;
        if (dosLetter) {
            EXPECT_EQ(CodePage862::LetterToUnicode(byte), CodePage1255::ToUnicode(byte + 0x60));
        }
    }
    std::string text = "a\xE0\xFA\x80\x94\xFBz";
    CodePage862::SwapLetters(text);
    EXPECT_EQ(text, "a\x80\x9A\xE0\xF4\xFBz");
    CodePage862::SwapLetters(text);
    EXPECT_EQ(text, "a\xE0\xFA\x80\x94\xFBz");
}

}  // namespace
