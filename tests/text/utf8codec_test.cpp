#include "text/utf8codec.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string AllBytes() {
    std::string bytes;
    for (unsigned b = 0; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    return bytes;
}

std::string Decode(std::string_view utf8) {
    std::string out;
    const Utf8DecodeResult result = Utf8Codec::DecodeToCp1255(utf8, out);
    EXPECT_TRUE(result.Ok()) << result.Describe();
    return out;
}

TEST(Utf8Codec, EveryByteSurvivesARoundTrip) {
    const std::string all = AllBytes();
    EXPECT_EQ(Decode(Utf8Codec::EncodeCp1255(all)), all);

    std::mt19937 random(1255);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 200);
    for (int i = 0; i < 500; ++i) {
        std::string text(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : text) {
            c = static_cast<char>(byte(random));
        }
        ASSERT_EQ(Decode(Utf8Codec::EncodeCp1255(text)), text);
    }
}

TEST(Utf8Codec, EncodesKnownCharacters) {
    EXPECT_EQ(Utf8Codec::EncodeCp1255("a\xF9\xEC\xE5\xED\r\n"), "a\u05E9\u05DC\u05D5\u05DD\r\n");
    EXPECT_EQ(Utf8Codec::EncodeCp1255("\x80\xA4\xCA\x81"), "\u20AC\u20AA\u05BA\uF781");
    EXPECT_EQ(Decode("\u05E9\u05DC\u05D5\u05DD \u20AA"), "\xF9\xEC\xE5\xED \xA4");
}

TEST(Utf8Codec, DosTextShowsCodePage862Letters) {
    EXPECT_EQ(Utf8Codec::EncodeDosText("\x80\x8C\x9A"), "\u05D0\u05DC\u05EA");
    // Above the DOS letters, bytes keep their code page 1255 meaning.
    EXPECT_EQ(Utf8Codec::EncodeDosText("\x9B\xE0 x"), "\u203A\u05D0 x");
}

TEST(Utf8Codec, SkipsALeadingByteOrderMarkOnly) {
    EXPECT_EQ(Decode("\xEF\xBB\xBF\u05D0"), "\xE0");
    std::string out;
    EXPECT_EQ(Utf8Codec::DecodeToCp1255("x\xEF\xBB\xBF", out).error,
              Utf8DecodeResult::Error::NoCodePageForm);
}

TEST(Utf8Codec, ErrorsNameLineAndColumnInCharacters) {
    using Error = Utf8DecodeResult::Error;
    const struct {
        const char* input;
        Error error;
        std::size_t line, column;
        char32_t cp;
    } cases[] = {
        {"a\n\u4E2D", Error::NoCodePageForm, 2, 1, 0x4E2D},
        {"ab\r\ncd\u4E2D", Error::NoCodePageForm, 2, 3, 0x4E2D},
        {"\u05E9\u05DC\u05D5\u05DD\u00C0", Error::NoCodePageForm, 1, 5, 0xC0},
        {"\n\n\n\U0001F600", Error::NoCodePageForm, 4, 1, 0x1F600},
        {"\u0081", Error::NoCodePageForm, 1, 1, 0x81},
        {"\u20AA\u00D7\xFF", Error::InvalidSequence, 1, 3, 0},
        {"\x80", Error::InvalidSequence, 1, 1, 0},              // lone continuation
        {"\xE0\x80\xAF", Error::InvalidSequence, 1, 1, 0},      // overlong
        {"\xED\xA0\x80", Error::InvalidSequence, 1, 1, 0},      // surrogate
        {"\xF4\x90\x80\x80", Error::InvalidSequence, 1, 1, 0},  // beyond U+10FFFF
        {"x\n\xE2\x82", Error::InvalidSequence, 2, 1, 0},       // cut short at the end
        {"\xE2\x82x", Error::InvalidSequence, 1, 1, 0},         // cut short inside
    };
    for (const auto& c : cases) {
        std::string out;
        const Utf8DecodeResult result = Utf8Codec::DecodeToCp1255(c.input, out);
        EXPECT_EQ(result.error, c.error) << c.input;
        EXPECT_EQ(result.line, c.line) << c.input;
        EXPECT_EQ(result.column, c.column) << c.input;
        if (c.error == Error::NoCodePageForm) {
            EXPECT_EQ(result.codePoint, c.cp) << c.input;
        }
    }
}

}  // namespace
