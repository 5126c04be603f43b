#include <gtest/gtest.h>

#include "common/hebrew.h"
#include "convert/convert.h"

namespace {

std::string Dos(std::string text) {
    CConvert::MakeDosText(text);
    return text;
}

std::string Spaces(size_t n) {
    return std::string(n, ' ');
}

TEST(MakeDosText, RightAlignsAndRecodesHebrew) {
    EXPECT_EQ(Dos(Heb("אבגדהוזחטי")), Spaces(60) + "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\r\n");
    EXPECT_EQ(Dos(Heb("ת")), Spaces(69) + "\x9A\r\n");
    EXPECT_EQ(Dos("abc"), "abc\r\n");
    EXPECT_EQ(Dos(Heb("א\r\nb")), Spaces(69) + "\x80\r\nb\r\n");
}

TEST(MakeDosText, Entities) {
    EXPECT_EQ(Dos("a&nbsp;b&quot;c&NBSP;d&QUOT;"), "ab\"cd\"\r\n");
    // Each replacement runs once over the line; what it leaves is not searched again.
    EXPECT_EQ(Dos("&nb&nbsp;sp;"), "&nbsp;\r\n");
}

TEST(MakeDosText, EmptyLines) {
    // Nothing carried: an empty line becomes two.
    EXPECT_EQ(Dos("a\r\n\r\nb"), "a\r\n\r\n\r\nb\r\n");
    EXPECT_EQ(Dos("a\r\n"), "a\r\n");
    EXPECT_EQ(Dos(""), "");
}

TEST(MakeDosText, LongLineCarriesItsLeftPart) {
    std::string line;
    for (int i = 0; i < 14; ++i) {
        line += "xxxxx ";
    }
    ASSERT_EQ(line.size(), 84u);
    // The cut is at the first space at or after index 19: index 23.
    EXPECT_EQ(Dos(line + "\r\nyy"), line.substr(23) + "\r\nyy " + line.substr(0, 23) + "\r\n");
    // At the end of the text the carry becomes a line of its own.
    EXPECT_EQ(Dos(line), line.substr(23) + "\r\n " + line.substr(0, 23) + "\r\n");
}

TEST(MakeDosText, CarryTakesTheFirstOfTwoEmptyLines) {
    std::string line;
    for (int i = 0; i < 14; ++i) {
        line += "xxxxx ";
    }
    EXPECT_EQ(Dos(line + "\r\n\r\nb"),
              line.substr(23) + "\r\n " + line.substr(0, 23) + "\r\n\r\nb\r\n");
}

// A line with no space where it would be cut is written whole: carrying it on
// would never make it shorter.
TEST(MakeDosText, UncuttableLineIsWrittenWhole) {
    const std::string word(100, 'x');
    EXPECT_EQ(Dos(word), word + "\r\n");
    EXPECT_EQ(Dos("ab " + word), "ab " + word + "\r\n");
    EXPECT_EQ(Dos(word + "\r\nyy"), word + "\r\nyy\r\n");
    const std::string hebrewWord(80, '\xE0');
    EXPECT_EQ(Dos(hebrewWord), std::string(80, '\x80') + "\r\n");
}

TEST(MakeDosText, LongTextKeepsEveryWord) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += Heb("אבג def ");
        if (i % 20 == 19) {
            text += "\r\n";
        }
    }
    const std::string dos = Dos(text);
    size_t hebrew = 0;
    size_t latin = 0;
    size_t unrecoded = 0;
    for (char c : dos) {
        const unsigned char u = static_cast<unsigned char>(c);
        hebrew += u >= 0x80 && u <= 0x82;
        latin += c == 'd';
        unrecoded += u >= 0xE0;
    }
    EXPECT_EQ(unrecoded, 0u);
    EXPECT_EQ(hebrew, 9000u);
    EXPECT_EQ(latin, 3000u);
    size_t pos = 0;
    while (pos < dos.size()) {
        const size_t end = dos.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end - pos, 70u);
        pos = end + 2;
    }
}

}  // namespace
