#include "text/textdocumentbytes.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/hebrew.h"

namespace {

// What the byte text says on its own: for every byte offset, the document
// position and line it stands for, and for every position its offset.
struct ByteModel {
    std::vector<int> positionAt;  // offset -> position (0 .. length)
    std::vector<int> lineAt;      // offset -> line
    std::vector<long> offsetOf;   // position -> offset
    std::vector<long> lineStarts;

    ByteModel(const std::string& bytes, LineBreak lineBreak) {
        int position = 0;
        int line = 0;
        lineStarts.push_back(0);
        for (size_t i = 0; i < bytes.size(); ++i) {
            const bool crlf = lineBreak == LineBreak::CrLf && bytes[i] == '\r' &&
                              i + 1 < bytes.size() && bytes[i + 1] == '\n';
            const bool lf = lineBreak == LineBreak::Lf && bytes[i] == '\n';
            positionAt.push_back(position);
            lineAt.push_back(line);
            offsetOf.push_back(static_cast<long>(i));
            if (crlf) {
                // The LF of the pair stands for the line's end as well.
                positionAt.push_back(position);
                lineAt.push_back(line);
                ++i;
            }
            ++position;
            if (crlf || lf) {
                ++line;
                lineStarts.push_back(static_cast<long>(i + 1));
            }
        }
        positionAt.push_back(position);
        lineAt.push_back(line);
        offsetOf.push_back(static_cast<long>(bytes.size()));
    }
};

void ExpectMappingMatchesModel(const std::string& bytes, LineBreak lineBreak) {
    SCOPED_TRACE(::testing::Message() << "text of " << bytes.size() << " bytes");
    QTextDocument document;
    TextDocumentBytes::Write(document, bytes, lineBreak);
    const ByteModel model(bytes, lineBreak);

    ASSERT_EQ(TextDocumentBytes::Read(document, lineBreak), bytes);
    ASSERT_EQ(TextDocumentBytes::Length(document, lineBreak), static_cast<long>(bytes.size()));
    ASSERT_EQ(TextDocumentBytes::LineCount(document), static_cast<int>(model.lineStarts.size()));
    for (long offset = 0; offset <= static_cast<long>(bytes.size()); ++offset) {
        ASSERT_EQ(TextDocumentBytes::PositionFromOffset(document, offset, lineBreak),
                  model.positionAt[offset])
            << "offset " << offset;
        ASSERT_EQ(TextDocumentBytes::LineFromOffset(document, offset, lineBreak),
                  model.lineAt[offset])
            << "offset " << offset;
    }
    for (size_t position = 0; position < model.offsetOf.size(); ++position) {
        ASSERT_EQ(
            TextDocumentBytes::OffsetFromPosition(document, static_cast<int>(position), lineBreak),
            model.offsetOf[position])
            << "position " << position;
    }
    for (size_t line = 0; line < model.lineStarts.size(); ++line) {
        ASSERT_EQ(TextDocumentBytes::LineOffset(document, static_cast<int>(line), lineBreak),
                  model.lineStarts[line])
            << "line " << line;
    }
    EXPECT_EQ(TextDocumentBytes::LineOffset(document, static_cast<int>(model.lineStarts.size()),
                                            lineBreak),
              -1);
}

TEST(TextDocumentBytes, OffsetsOfLineEndsEmptyLinesAndStandIns) {
    const std::string texts[] = {
        "",
        "a",
        "\r\n",
        "\r\n\r\n",
        "ab\r\n\r\ncd\re\nf\r\n",
        Heb("שלום\xA0עולם\r\n<b>") + std::string("\0\r\r\n\n", 5) + Heb("סוף"),
        "\r\r\r\n\n\n",
    };
    for (const std::string& text : texts) {
        ExpectMappingMatchesModel(text, LineBreak::CrLf);
        ExpectMappingMatchesModel(text, LineBreak::Lf);
    }
}

TEST(TextDocumentBytes, RandomTextsMapLikeTheirBytes) {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> pick(0, 7);
    const char alphabet[] = {'\r', '\n', 'x', '\xE0', '\xA0', '\0', '\x80', ' '};
    for (int round = 0; round < 40; ++round) {
        std::string bytes;
        for (int i = 0; i < round * 7; ++i) {
            bytes.push_back(alphabet[pick(random)]);
        }
        ExpectMappingMatchesModel(bytes, round % 2 == 0 ? LineBreak::CrLf : LineBreak::Lf);
    }
}

TEST(TextDocumentBytes, OffsetsOutsideTheTextGoToItsEnds) {
    QTextDocument document;
    TextDocumentBytes::Write(document, "ab\r\ncd", LineBreak::CrLf);
    EXPECT_EQ(TextDocumentBytes::PositionFromOffset(document, -5, LineBreak::CrLf), 0);
    EXPECT_EQ(TextDocumentBytes::PositionFromOffset(document, 100, LineBreak::CrLf), 5);
    EXPECT_EQ(TextDocumentBytes::OffsetFromPosition(document, 100, LineBreak::CrLf), 6);
    EXPECT_EQ(TextDocumentBytes::LineFromOffset(document, 100, LineBreak::CrLf), 1);
    EXPECT_EQ(TextDocumentBytes::LineOffset(document, -1, LineBreak::CrLf), -1);
}

TEST(TextDocumentBytes, ReadRangeGivesTheBytesBetweenTwoPositions) {
    QTextDocument document;
    const std::string bytes = Heb("אב\xA0\r\n\r\nג\rד");
    TextDocumentBytes::Write(document, bytes, LineBreak::CrLf);
    const ByteModel model(bytes, LineBreak::CrLf);
    for (size_t from = 0; from < model.offsetOf.size(); ++from) {
        for (size_t to = from; to < model.offsetOf.size(); ++to) {
            const std::string expected =
                bytes.substr(model.offsetOf[from], model.offsetOf[to] - model.offsetOf[from]);
            ASSERT_EQ(TextDocumentBytes::ReadRange(document, static_cast<int>(from),
                                                   static_cast<int>(to), LineBreak::CrLf),
                      expected);
            ASSERT_EQ(TextDocumentBytes::ReadRange(document, static_cast<int>(to),
                                                   static_cast<int>(from), LineBreak::CrLf),
                      expected);
        }
    }
}

TEST(TextDocumentBytes, WriteReplacesTextInOneFormatAndForgetsUndo) {
    QTextDocument document;
    document.setUndoRedoEnabled(true);
    QTextCursor(&document).insertText("old");
    ASSERT_TRUE(document.isUndoAvailable());

    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    TextDocumentBytes::Write(document, "one\r\ntwo", LineBreak::CrLf, bold);

    EXPECT_FALSE(document.isUndoAvailable());
    EXPECT_TRUE(document.isUndoRedoEnabled());
    EXPECT_EQ(document.blockCount(), 2);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            EXPECT_EQ(it.fragment().charFormat().fontWeight(), QFont::Bold);
        }
        EXPECT_EQ(block.charFormat().fontWeight(), QFont::Bold);
    }
    // An empty text keeps the format for what is typed into it.
    TextDocumentBytes::Write(document, "", LineBreak::CrLf, bold);
    EXPECT_EQ(QTextCursor(&document).charFormat().fontWeight(), QFont::Bold);
}

TEST(TextDocumentBytes, TextEditedInTheDocumentReadsAsBytes) {
    // Text typed or pasted into the editor (not decoded from bytes) follows
    // the same one-byte-per-character rule.
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QString::fromUtf8("ש\u00A0x\r\ny\u4E00"));
    EXPECT_EQ(TextDocumentBytes::Read(document, LineBreak::CrLf), Heb("ש\xA0x\r\ny?"));
    EXPECT_EQ(TextDocumentBytes::Length(document, LineBreak::CrLf), 7);
}

// Texts with lines longer than the editor holds in one block: the byte text
// read back, the line structure and every offset agree with the bytes.
void ExpectLongLinesMapLikeTheirBytes(const std::string& bytes, LineBreak lineBreak) {
    SCOPED_TRACE(::testing::Message() << "text of " << bytes.size() << " bytes");
    QTextDocument document;
    TextDocumentBytes::Write(document, bytes, lineBreak);
    const ByteModel model(bytes, lineBreak);
    ASSERT_EQ(TextDocumentBytes::Read(document, lineBreak), bytes);
    ASSERT_EQ(TextDocumentBytes::Length(document, lineBreak), static_cast<long>(bytes.size()));
    ASSERT_EQ(TextDocumentBytes::LineCount(document), static_cast<int>(model.lineStarts.size()));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        ASSERT_LE(block.length() - 1, TextDocumentBytes::kLongLineChars);
    }
    for (long offset = 0; offset <= static_cast<long>(bytes.size()); ++offset) {
        const int position = TextDocumentBytes::PositionFromOffset(document, offset, lineBreak);
        const bool inBreak = offset > 0 && bytes[offset - 1] == '\r' &&
                             offset < static_cast<long>(bytes.size()) && bytes[offset] == '\n' &&
                             lineBreak == LineBreak::CrLf;
        ASSERT_EQ(TextDocumentBytes::OffsetFromPosition(document, position, lineBreak),
                  inBreak ? offset - 1 : offset)
            << "offset " << offset;
        ASSERT_EQ(TextDocumentBytes::LineFromOffset(document, offset, lineBreak),
                  model.lineAt[offset])
            << "offset " << offset;
    }
    for (size_t line = 0; line < model.lineStarts.size(); ++line) {
        ASSERT_EQ(TextDocumentBytes::LineOffset(document, static_cast<int>(line), lineBreak),
                  model.lineStarts[line])
            << "line " << line;
        ASSERT_EQ(TextDocumentBytes::LineOfBlock(document, TextDocumentBytes::FirstBlockOfLine(
                                                               document, static_cast<int>(line))),
                  static_cast<int>(line));
    }
    std::mt19937 random(static_cast<unsigned>(bytes.size()));
    std::uniform_int_distribution<long> pick(0, static_cast<long>(bytes.size()));
    for (int round = 0; round < 50; ++round) {
        long from = pick(random);
        long to = pick(random);
        if (from > to) {
            std::swap(from, to);
        }
        const std::string expected = bytes.substr(from, to - from);
        if (expected.empty() || expected.front() == '\n' || expected.back() == '\r') {
            continue;  // a range from or to the middle of a CR LF
        }
        ASSERT_EQ(TextDocumentBytes::ReadRange(
                      document, TextDocumentBytes::PositionFromOffset(document, from, lineBreak),
                      TextDocumentBytes::PositionFromOffset(document, to, lineBreak), lineBreak),
                  expected)
            << from << ".." << to;
    }
}

TEST(TextDocumentBytes, LongLinesAreHeldInPiecesAndReadBackExactly) {
    const int limit = TextDocumentBytes::kLongLineChars;
    std::string words;
    for (int i = 0; words.size() < 30000; ++i) {
        words += Heb("שלום") + std::to_string(i) + (i % 9 == 0 ? "<b>" : " ");
    }
    const std::string texts[] = {
        std::string(limit, 'a'),
        std::string(limit + 1, 'a'),
        std::string(3 * limit + 17, '<'),
        words,
        "ab\r\n" + words + "\r\n\r\n" + std::string(limit + 5, 'x') + "\r\nend",
        std::string(limit - 1, 'y') + "\r" + std::string(limit, 'z') + "\n\n" + words,
    };
    for (const std::string& text : texts) {
        ExpectLongLinesMapLikeTheirBytes(text, LineBreak::CrLf);
        ExpectLongLinesMapLikeTheirBytes(text, LineBreak::Lf);
    }
}

TEST(TextDocumentBytes, SingleTwoMegabyteLineComesBackExactly) {
    std::string bytes;
    for (int i = 0; bytes.size() < (size_t{2} << 20); ++i) {
        bytes += (i % 3 == 0) ? "<td class=x>" : Heb("מילה ");
        bytes.push_back(static_cast<char>(0x80 + i % 128));
    }
    QTextDocument document;
    TextDocumentBytes::Write(document, bytes, LineBreak::CrLf);
    EXPECT_EQ(TextDocumentBytes::LineCount(document), 1);
    EXPECT_GT(document.blockCount(), 1);  // held in pieces
    EXPECT_TRUE(TextDocumentBytes::Read(document, LineBreak::CrLf) == bytes);
    const long last = static_cast<long>(bytes.size()) - 1;
    EXPECT_EQ(TextDocumentBytes::ReadRange(
                  document, TextDocumentBytes::PositionFromOffset(document, last, LineBreak::CrLf),
                  TextDocumentBytes::PositionFromOffset(document, last + 1, LineBreak::CrLf),
                  LineBreak::CrLf),
              bytes.substr(last));
}

// Random insertions (with line breaks and long runs) and removals through the
// document's cursor, against the same edits on a byte string.
TEST(TextDocumentBytes, EditsOfLongLinesReadLikeTheSameEditsOfTheBytes) {
    std::mt19937 random(1255);
    QTextDocument document;
    std::string model(20000, 'q');
    TextDocumentBytes::Write(document, model, LineBreak::CrLf);
    for (int round = 0; round < 120; ++round) {
        std::uniform_int_distribution<long> at(0, static_cast<long>(model.size()));
        long from = at(random);
        long to = round % 3 == 0 ? at(random) : from;
        if (from > to) {
            std::swap(from, to);
        }
        // Keep clear of the middle of a CR LF.
        auto outOfBreak = [&model](long offset) {
            return offset > 0 && offset < static_cast<long>(model.size()) &&
                           model[offset - 1] == '\r' && model[offset] == '\n'
                       ? offset - 1
                       : offset;
        };
        from = outOfBreak(from);
        to = std::max(from, outOfBreak(to));
        std::string inserted;
        const int kind = round % 4;
        const size_t length = kind == 0 ? 9000 : kind == 1 ? 3 : 200;
        for (size_t i = 0; i < length; ++i) {
            inserted.push_back(i % 97 == 50 && kind != 0 ? '\n' : static_cast<char>('a' + i % 26));
        }
        QTextCursor cursor(&document);
        cursor.setPosition(TextDocumentBytes::PositionFromOffset(document, from, LineBreak::CrLf));
        cursor.setPosition(TextDocumentBytes::PositionFromOffset(document, to, LineBreak::CrLf),
                           QTextCursor::KeepAnchor);
        TextDocumentBytes::Insert(cursor, EditorCodec::Decode(inserted, LineBreak::Lf));
        std::string crlf;
        for (char c : inserted) {
            if (c == '\n') {
                crlf.push_back('\r');
            }
            crlf.push_back(c);
        }
        model.replace(from, to - from, crlf);
        ASSERT_EQ(TextDocumentBytes::Read(document, LineBreak::CrLf), model) << "round " << round;
        ASSERT_EQ(TextDocumentBytes::Length(document, LineBreak::CrLf),
                  static_cast<long>(model.size()));
        ASSERT_EQ(TextDocumentBytes::LineCount(document),
                  static_cast<int>(std::count(model.begin(), model.end(), '\n')) + 1);
    }
}

}  // namespace
