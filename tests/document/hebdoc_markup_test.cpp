#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QDir>

#include <filesystem>
#include <tuple>

#include "common/fakesheet.h"
#include "common/fakeui.h"
#include "common/hebrew.h"
#include "common/scratchfolder.h"
#include "document/hebdoc.h"
#include "view/hebview.h"

namespace {

namespace fs = std::filesystem;

class HebDocMarkupTest : public testing::Test {
protected:
    HebDocMarkupTest() : doc(new CHebDoc), view(new CHebView(doc)) {
        fs::create_directories(web / "sub");
        fs::create_directories(scratch.Path() / "website");
        QDir::setCurrent(QString::fromStdString(web.string()));
    }
    ~HebDocMarkupTest() override {
        QDir::setCurrent(m_formerFolder);
        delete view;
        delete doc;
    }

    // The text with start to end selected, after command.
    std::string Run(void (CHebDoc::*command)(), const std::string& text, long start, long end) {
        doc->SetText(text);
        view->SetSel(start, end);
        (doc->*command)();
        return doc->GetText();
    }
    void SetPath(const fs::path& path) {
        doc->SetPathName(QString::fromStdString(path.string()), false);
    }
    // The first bytes of a GIF file: signature, width and height little-endian.
    static void WriteGif(const fs::path& path, unsigned width, unsigned height,
                         const std::string& signature = "GIF89a") {
        const char size[] = {char(width & 0xFF), char(width >> 8), char(height & 0xFF),
                             char(height >> 8), 0};
        ScratchFolder::Write(path.string(), signature + std::string(size, 5));
    }
    // The text the image command inserts into an empty document for a file.
    std::string InsertImage(const fs::path& path) {
        ui.fileAnswers.push_back(QString::fromStdString(path.string()));
        return Run(&CHebDoc::OnInsertImage, "", 0, 0);
    }

    ScratchFolder scratch;
    const fs::path web = scratch.Path() / "web";
    FakeUi ui;
    FakeOptionsSheet sheet;
    CHebDoc* doc;
    CHebView* view;

private:
    QString m_formerFolder = QDir::currentPath();
};

TEST_F(HebDocMarkupTest, TagOrderFollowsTheKindOfText) {
    // An empty selection: the pair in order, in every kind of document.
    EXPECT_EQ(Run(&CHebDoc::OnBold, "abcd", 2, 2), "ab<b></b>cd");
    // A new document not converted holds logical text: the pair is reversed.
    EXPECT_EQ(Run(&CHebDoc::OnBold, Heb("א שלום ב"), 2, 6), Heb("א </b>שלום<b> ב"));
    EXPECT_TRUE(doc->IsModified());
    // After the conversion to visual the text is a page.
    doc->SetText(Heb("שלום"));
    doc->OnConvertToVisual();
    view->SetSel(0, 4);
    doc->OnBold();
    EXPECT_EQ(doc->GetText(), Heb("<b>םולש</b><br>\r\n"));
    // So is a file whose name holds ".htm", whatever the folders above it say.
    doc->TakeUndoText();
    SetPath(web / "site.htm" / "notes.txt");
    EXPECT_EQ(Run(&CHebDoc::OnItalic, "xy", 0, 2), "</em>xy<em>");
    SetPath(web / "Page.HTML");
    EXPECT_EQ(Run(&CHebDoc::OnItalic, "xy", 0, 2), "<em>xy</em>");
    EXPECT_EQ(Run(&CHebDoc::OnBold, "abcd", 2, 2), "ab<b></b>cd");
}

TEST_F(HebDocMarkupTest, EveryTagPairInAPage) {
    SetPath(web / "page.htm");
    const std::pair<void (CHebDoc::*)(), const char*> cases[] = {
        {&CHebDoc::OnBold, "<b>x</b>"},
        {&CHebDoc::OnItalic, "<em>x</em>"},
        {&CHebDoc::OnUnderline, "<u>x</u>"},
        {&CHebDoc::OnFontTag, "<font size=\"\" color=\"\" face= \"\">x</font>"},
        {&CHebDoc::OnLink, "<a href=\"\">x</a>"},
        {&CHebDoc::OnAlignLeft, "<div align=\"left\">\r\nx\r\n</div>"},
        {&CHebDoc::OnAlignCenter, "<center>\r\nx\r\n</center>"},
        {&CHebDoc::OnAlignRight, "<div align=\"right\">\r\nx\r\n</div>"},
    };
    for (const auto& [command, wrapped] : cases) {
        EXPECT_EQ(Run(command, "[x]", 1, 2), std::string("[") + wrapped + "]");
    }
}

TEST_F(HebDocMarkupTest, ImageTagWithTheGifSizeAndItsPath) {
    WriteGif(web / "a.gif", 120, 60);
    WriteGif(web / "sub" / "B.GIF", 0x1234, 0xABCD, "GIF87a");
    WriteGif(web / "c.Gif", 1, 1);
    const fs::path elsewhere = scratch.Path() / "website" / "d.gif";
    WriteGif(elsewhere, 1, 2);

    EXPECT_EQ(InsertImage(web / "a.gif"),
              "<img width=\"120\" height=\"60\" border=\"0\" src=\"a.gif\">");
    EXPECT_EQ(sheet.pages, std::vector<int>{kImagePage});
    EXPECT_EQ(ui.lastRequest->defaultExt, QStringLiteral("gif"));
    EXPECT_EQ(ui.lastRequest->filter,
              QStringLiteral("GIF files (*.gif)|*.gif|All Files (*.*)|*.*||"));
    // Upper-case GIF is taken; names keep their case, which the file system tells apart.
    EXPECT_EQ(InsertImage(web / "sub" / "B.GIF"),
              "<img width=\"4660\" height=\"43981\" border=\"0\" src=\"sub/B.GIF\">");
    // The current folder ".../web" does not hold ".../website".
    EXPECT_EQ(InsertImage(elsewhere),
              "<img width=\"1\" height=\"2\" border=\"0\" src=\"" + elsewhere.string() + "\">");
    EXPECT_EQ(InsertImage(web / "c.Gif"), "");
    EXPECT_EQ(Run(&CHebDoc::OnInsertImage, "x", 0, 0), "x");  // the dialog cancelled
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HebDocMarkupTest, AFileThatIsNoGifInsertsNothingAndSaysWhy) {
    ScratchFolder::Write((web / "short.gif").string(), "GIF89a\x78");
    ScratchFolder::Write((web / "png.gif").string(), "\x89PNG\r\n\x1A\n\0\0\0\rIHDR");
    // A pipe named like a picture would wait for a writer forever.
    ASSERT_EQ(::mkfifo((web / "pipe.gif").c_str(), 0600), 0);
    for (const char* name : {"short.gif", "png.gif", "missing.gif", "pipe.gif"}) {
        ui.messages.clear();
        EXPECT_EQ(InsertImage(web / name), "") << name;
        ASSERT_EQ(ui.messages.size(), 1) << name;
        EXPECT_TRUE(ui.messages[0].contains(QString::fromLatin1(name))) << name;
    }
}

TEST_F(HebDocMarkupTest, ImageAttributesFollowTheSettings) {
    ImageSettings image;
    image.ImageWidth = 0;
    image.ImageHeight = 0;
    image.ImageDisplay = 0;
    image.ImageBValue = 7;
    doc->SetImageSettings(image);
    // Without width and height the file is not even opened.
    EXPECT_EQ(InsertImage(web / "missing.gif"), "<img border=\"7\" src=\"missing.gif\">");
    EXPECT_TRUE(sheet.pages.empty());

    image.ImageWidth = 1;
    image.ImageHeight = -1;  // read as off
    image.ImageBorder = 0;
    image.ImageAlt = image.ImageTitle = image.ImageId = 1;
    doc->SetImageSettings(image);
    WriteGif(web / "a.gif", 300, 200);
    EXPECT_EQ(InsertImage(web / "a.gif"),
              "<img width=\"300\" alt=\"\" title=\"\" id=\"\" src=\"a.gif\">");
}

TEST_F(HebDocMarkupTest, ImageSourceIsEscapedAndRefusedWithoutACodePage1255Form) {
    ImageSettings image;
    image.ImageWidth = image.ImageHeight = image.ImageBorder = image.ImageDisplay = 0;
    doc->SetImageSettings(image);  // the files need not exist: none is opened
    const std::pair<const char*, std::string> written[] = {
        {"a\"b.gif", "a&quot;b.gif"},
        {"<i>&amp;.gif", "&lt;i&gt;&amp;amp;.gif"},
        {"sub/\u20AC'x.gif", "sub/\x80'x.gif"},
        {"\u05EA\u05DE\u05D5\u05E0\u05D4 1.gif", Heb("תמונה 1.gif")},
    };
    for (const auto& [name, source] : written) {
        EXPECT_EQ(InsertImage(web / name), "<img src=\"" + source + "\">") << name;
    }
    EXPECT_TRUE(ui.messages.empty());

    // The message names the character and its code; nothing is inserted.
    const std::tuple<const char*, const char*, const char*> refused[] = {
        {"caf\u00E9.gif", "\u00E9", "U+00E9"},
        {"sub/\U0001F600.gif", "\U0001F600", "U+1F600"},
        {"x\uF781.gif", "\uF781", "U+F781"},  // stands for an undefined byte, is none
    };
    for (const auto& [name, character, code] : refused) {
        ui.messages.clear();
        EXPECT_EQ(InsertImage(web / name), "") << name;
        ASSERT_EQ(ui.messages.size(), 1) << name;
        const QString& message = ui.messages[0];
        // In the path, and named on its own.
        EXPECT_EQ(message.count(QString::fromUtf8(character)), 2) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(code))) << message.toStdString();
    }
}

}  // namespace
