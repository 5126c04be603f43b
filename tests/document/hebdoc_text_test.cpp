// A document that no view shows reads, replaces, converts, pastes and saves
// its own text.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QString>
#include <algorithm>
#include <random>
#include <string>

#include "common/fakesheet.h"
#include "common/fakeui.h"
#include "common/hebrew.h"
#include "common/scratchfolder.h"
#include "document/hebdoc.h"

namespace {

class HebDocTextTest : public testing::Test {
protected:
    ~HebDocTextTest() override { QGuiApplication::clipboard()->clear(); }

    ScratchFolder scratch;
    FakeUi ui;
    FakeOptionsSheet sheet;
    CHebDoc doc;
};

// Replacing ranges against a byte string as the model: offsets count CR LF as
// two, bytes come back exactly, and lines past the long-line limit
// (held in pieces) keep their offsets.
TEST_F(HebDocTextTest, RangesFollowTheBytesOfAModel) {
    ASSERT_EQ(doc.GetView(), nullptr);
    // A line of 20000 bytes, held in pieces.
    std::string line;
    while (line.size() < 20000) {
        line += Heb("אבג <td>xyz</td> ");
    }
    std::string model = Heb("שורה\r\n<p>abc</p>\r\n") + line + "\r\n\r\nend";
    doc.SetText(model);
    const std::string pieces[] = {"x",   "\r\n", Heb("אב "), "\xA0\x80",
                                  "<b>", "",     "a\r\nb",   std::string(9000, 'w')};
    std::mt19937 random(1255);
    // An offset inside a CR LF stands for the end of its line.
    auto offset = [&](size_t from, size_t to) {
        size_t at = from + random() % (to - from + 1);
        if (at > 0 && at < model.size() && model[at - 1] == '\r' && model[at] == '\n') {
            --at;
        }
        return at;
    };
    for (int step = 0; step < 60; ++step) {
        const size_t start = offset(0, model.size());
        const size_t end = offset(start, std::min(model.size(), start + 40));
        ASSERT_EQ(doc.GetTextRange(static_cast<long>(start), static_cast<long>(end)),
                  model.substr(start, end - start))
            << step;
        const std::string& text = pieces[random() % std::size(pieces)];
        doc.ReplaceRange(static_cast<long>(start), static_cast<long>(end), text);
        model.replace(start, end - start, text);
        ASSERT_EQ(doc.GetText(), model) << step;
    }
}

TEST_F(HebDocTextTest, ConvertsPastesIntoARangeAndSaves) {
    // Conversion of the whole text.
    doc.SetText(Heb("שלום עולם"));
    doc.OnConvertToVisual();
    EXPECT_EQ(doc.GetText(), Heb("םלוע םולש<br>\r\n"));
    EXPECT_TRUE(doc.IsModified());

    // Paste visual into a range: the range's bytes give way to the converted
    // clipboard text, which the range then holds; undo leaves the plain paste.
    QGuiApplication::clipboard()->setText(QString::fromUtf8("שלום עולם"));
    doc.SetText("abc\r\nXYZ def");
    long start = 5;
    long end = 8;
    ASSERT_TRUE(doc.PasteVisual(start, end));
    EXPECT_EQ(doc.GetText(), Heb("abc\r\nםלוע םולש def"));
    EXPECT_EQ(doc.GetTextRange(start, end), Heb("םלוע םולש"));
    doc.OnUndoConvert();
    EXPECT_EQ(doc.GetText(), Heb("abc\r\nשלום עולם def"));

    // The table paste over a range.
    QGuiApplication::clipboard()->setText(QString::fromUtf8("אב\tגד"));
    doc.SetText("aXYb");
    start = 1;
    end = 3;
    ASSERT_TRUE(doc.PasteTable(start, end));
    const std::string text = doc.GetText();
    EXPECT_EQ(text.substr(0, 8), "a<table ");
    EXPECT_EQ(text.substr(text.size() - 11), "</table>\r\nb");
    EXPECT_NE(text.find(Heb("דג")), std::string::npos);
    EXPECT_EQ(doc.GetTextRange(start, end), text.substr(1, text.size() - 2));

    // Saving writes the text, with the generator tag, in the file's line ends.
    const std::string path = scratch.File("page.htm");
    ScratchFolder::Write(path, "<head>\n</head>\n");
    ASSERT_TRUE(doc.OnOpenDocument(QString::fromStdString(path)));
    doc.SetPathName(QString::fromStdString(path));
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    EXPECT_EQ(ScratchFolder::Read(path),
              "<head>\n<meta name='generator' content='MIRVAL'>\n</head>\n");
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
