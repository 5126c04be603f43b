#include "text/utf8editorcodec.h"

#include <gtest/gtest.h>

#include <QTextDocument>
#include <cctype>
#include <string>

#include "text/textdocumentbytes.h"

using namespace std::string_literals;

namespace {

TEST(Utf8EditorCodec, OpeningRules) {
    struct Case {
        std::string bytes;
        bool utf8;
        const char* why;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF<p>plain</p>\r\n", true, "byte order mark before ASCII"},
        {"\xEF\xBB\xBF", true, "byte order mark alone"},
        {"<p>\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D</p>\n", true, "Hebrew in UTF-8"},
        {"caf\xC3\xA9 \xF0\x9F\x98\x80", true, "two- and four-byte sequences"},
        {"<p>plain ASCII</p>\r\n", false, "no multi-byte sequence"},
        {"", false, "empty file"},
        {"\xD7\xA9\xD7", false, "truncated sequence"},
        {"\xC0\xAF", false, "overlong form"},
        {"\xED\xA0\x80", false, "surrogate"},
        {"\xF4\x90\x80\x80", false, "beyond U+10FFFF"},
        {"\xEF\xBB\xBF\xE0\xE1", false, "byte order mark before code page 1255 text"},
        {"a\xE2\x90\x80z", false, "a NUL stand-in character in the file"},
        {"a\xE2\x80\xA9z", false, "a paragraph separator in the file"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8EditorCodec::OpensAsUtf8(c.bytes), c.utf8) << c.why;
    }
}

TEST(Utf8EditorCodec, HebrewCodePageTextNeverOpensAsUtf8) {
    // Every Hebrew letter followed by every byte that code page 1255 text of
    // words, spaces, digits and ASCII punctuation puts after a letter.
    std::string followers = " 0123456789";
    for (int byte = 0xE0; byte <= 0xFA; ++byte) {
        followers.push_back(static_cast<char>(byte));
    }
    for (char c = 0x21; c < 0x7F; ++c) {
        if (std::ispunct(static_cast<unsigned char>(c)) != 0) {
            followers.push_back(c);
        }
    }
    for (int letter = 0xE0; letter <= 0xFA; ++letter) {
        for (const char next : followers) {
            for (const std::string& around :
                 {std::string(), std::string("<p>"), std::string(" ")}) {
                const std::string text = around + static_cast<char>(letter) + next + around;
                EXPECT_FALSE(Utf8EditorCodec::OpensAsUtf8(text))
                    << std::hex << letter << " "
                    << static_cast<int>(static_cast<unsigned char>(next));
            }
        }
    }
}

class Utf8EditorCodecBothBreaks : public ::testing::TestWithParam<LineBreak> {};

// Every valid UTF-8 text comes back byte for byte through an editor document:
// line breaks of both kinds, lone CRs and LFs, NULs, Hebrew, characters
// outside the basic plane, a line separator and a byte order mark inside the
// text, and a line long enough to be held in pieces.
TEST_P(Utf8EditorCodecBothBreaks, TextComesBackThroughAnEditorDocument) {
    const std::string longLine(20000, 'x');
    const std::string texts[] = {
        "",
        "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\r\n\xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D\r\n",
        "a\nb\n\nc\rd\r\ne\0f"s,
        "\r\n\r\r\n\n\r",
        "\xF0\x9F\x98\x80 \xE2\x80\xA8 \xEF\xBB\xBF \xE4\xB8\xAD\xEF\xA3\xBF",
        "\xD7\x90 " + longLine + "\xD7\x91\r\n" + longLine + " " + longLine,
    };
    for (const std::string& bytes : texts) {
        const std::optional<QString> text = Utf8EditorCodec::Decode(bytes, GetParam());
        ASSERT_TRUE(text.has_value());
        QTextDocument document;
        TextDocumentBytes::WriteText(document, *text);
        const QString back = TextDocumentBytes::EditorTextRange(document, 0, 1 << 30);
        EXPECT_EQ(Utf8EditorCodec::Encode(back, GetParam()), bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Breaks, Utf8EditorCodecBothBreaks,
                         ::testing::Values(LineBreak::CrLf, LineBreak::Lf));

TEST(Utf8EditorCodec, FindsTheFirstCharacterWithoutCodePageFormAndItsPlace) {
    QTextDocument document;
    // Hebrew, the euro sign and a stand-in all have a form; U+4E2D has none.
    TextDocumentBytes::WriteText(document, u"\u05D0\u20AC\n\u2400ab\u4E2Dc\u4E2D");
    const int position = TextDocumentBytes::FindWithoutCodePageForm(document, 0, 1 << 30);
    ASSERT_EQ(position, 6);
    int line = 0;
    int column = 0;
    TextDocumentBytes::LineAndColumn(document, position, line, column);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(column, 3);
    EXPECT_EQ(TextDocumentBytes::FindWithoutCodePageForm(document, 0, 6), -1);
    EXPECT_EQ(TextDocumentBytes::FindWithoutCodePageForm(document, 9, 7), 8);
}

}  // namespace
