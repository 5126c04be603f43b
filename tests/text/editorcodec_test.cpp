#include "text/editorcodec.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "common/hebrew.h"

namespace {

// A random byte string in which line-end bytes and NUL are frequent, so that
// CR LF pairs, lone CRs and LFs, runs of them and NULs next to them all occur.
std::string RandomBytes(std::mt19937& random, size_t length) {
    static const char kFrequent[] = {'\r', '\n', '\0', 'a', '\xE0', '\xA0'};
    std::uniform_int_distribution<int> coin(0, 1);
    std::uniform_int_distribution<int> frequent(0, sizeof(kFrequent) - 1);
    std::uniform_int_distribution<int> any(0, 255);
    std::string bytes;
    for (size_t i = 0; i < length; ++i) {
        bytes.push_back(coin(random) != 0 ? kFrequent[frequent(random)]
                                          : static_cast<char>(any(random)));
    }
    return bytes;
}

class EditorCodecBothBreaks : public ::testing::TestWithParam<LineBreak> {};

TEST_P(EditorCodecBothBreaks, EveryByteIsOneDistinctCharacterAndComesBack) {
    std::set<char16_t> seen;
    for (int value = 0; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const QString text = EditorCodec::Decode(byte, GetParam());
        ASSERT_EQ(text.size(), 1) << "byte " << value;
        EXPECT_TRUE(seen.insert(text[0].unicode()).second) << "byte " << value;
        EXPECT_EQ(EditorCodec::Encode(text, GetParam()), byte) << "byte " << value;
    }
}

TEST_P(EditorCodecBothBreaks, RandomByteStringsComeBackUnchanged) {
    std::mt19937 random(1255);
    for (int round = 0; round < 500; ++round) {
        const std::string bytes = RandomBytes(random, round % 60);
        const QString text = EditorCodec::Decode(bytes, GetParam());
        ASSERT_EQ(EditorCodec::Encode(text, GetParam()), bytes);
        // Read back out of a document, the same text gives the same bytes.
        QString inDocument = text;
        inDocument.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
        std::string read;
        EditorCodec::AppendDocumentText(read, inDocument, GetParam());
        ASSERT_EQ(read, bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(LineBreaks, EditorCodecBothBreaks,
                         ::testing::Values(LineBreak::CrLf, LineBreak::Lf), [](const auto& info) {
                             return info.param == LineBreak::CrLf ? "CrLf" : "Lf";
                         });

TEST(EditorCodec, LineBreaksAndStandInsByMode) {
    struct Case {
        std::string bytes;
        LineBreak lineBreak;
        std::u16string text;
    };
    const Case cases[] = {
        {"a\r\nb", LineBreak::CrLf, u"a\nb"},
        {"a\rb", LineBreak::CrLf, u"a\u240Db"},
        {"a\nb", LineBreak::CrLf, u"a\u240Ab"},
        {"\r\r\n\n", LineBreak::CrLf, u"\u240D\n\u240A"},
        {"a\r\n", LineBreak::CrLf, u"a\n"},
        {"\r", LineBreak::CrLf, u"\u240D"},
        {"a\nb", LineBreak::Lf, u"a\nb"},
        {"a\r\nb", LineBreak::Lf, u"a\u240D\nb"},
        {"\n\n", LineBreak::Lf, u"\n\n"},
        {std::string("x\0y", 3), LineBreak::Lf, u"x\u2400y"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EditorCodec::Decode(c.bytes, c.lineBreak), QString::fromStdU16String(c.text))
            << c.bytes;
    }
}

TEST(EditorCodec, HebrewNonBreakingSpaceAndDosBytesKeepTheirCharacters) {
    const QString text = EditorCodec::Decode(Heb("שלום\xA0עולם") + "\x80\x9A", LineBreak::CrLf);
    EXPECT_EQ(text.left(4), QString::fromUtf8("שלום"));
    EXPECT_EQ(text[4], QChar(0x00A0));
    EXPECT_EQ(text.mid(5, 4), QString::fromUtf8("עולם"));
    EXPECT_EQ(text[9], QChar(0x20AC));   // the euro sign of code page 1255
    EXPECT_EQ(text[10], QChar(0xF79A));  // undefined in 1255: a DOS letter kept aside
}

TEST(EditorCodec, ForeignTextBreaksAndCharactersWithoutAByte) {
    EXPECT_EQ(EditorCodec::Encode(u"a\r\nb\rc\nd\u2028e\u2029f", LineBreak::CrLf),
              "a\r\nb\r\nc\r\nd\r\ne\r\nf");
    EXPECT_EQ(EditorCodec::Encode(u"a\r\nb\u2029c", LineBreak::Lf), "a\nb\nc");
    // One '?' per UTF-16 unit: a CJK character, then an emoji (two units).
    EXPECT_EQ(EditorCodec::Encode(u"x\u4E00y\U0001F600", LineBreak::CrLf), "x?y??");
    EXPECT_EQ(EditorCodec::Encode(QString::fromUtf8("₪ש"), LineBreak::CrLf), "\xA4\xF9");
}

TEST(EditorCodec, DocumentTextIsOneBytePerCharacterInsideALine) {
    // A line separator inside a block is no line break of the byte text.
    std::string bytes;
    EditorCodec::AppendDocumentText(bytes, u"a\u2028b\u2029c\nd\u240D", LineBreak::CrLf);
    EXPECT_EQ(bytes, "a?b\r\nc\r\nd\r");
    EXPECT_EQ(EditorCodec::EncodeInLine(QChar(0x05D0)), '\xE0');
    EXPECT_EQ(EditorCodec::EncodeInLine(QChar(0x4E00)), '?');
    EXPECT_EQ(EditorCodec::EncodeInLine(QChar(EditorCodec::kNulStandIn)), '\0');
}

}  // namespace
