#include <gtest/gtest.h>

#include <QDir>
#include <QTextDocument>
#include <memory>

#include "common/fakeui.h"
#include "common/hebrew.h"
#include "common/scratchfolder.h"
#include "document/hebdoc.h"
#include "framework/profile.h"
#include "view/hebview.h"

namespace {

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

// A document with an editor view, as the framework makes them, in a scratch
// folder whose profile starts empty.
class HebDocTest : public testing::Test {
protected:
    HebDocTest() : doc(new CHebDoc), view(new CHebView(doc)) {}
    ~HebDocTest() override {
        delete view;
        delete doc;
    }

    // Opens bytes written to a file of the scratch folder into the document.
    bool Open(const std::string& name, const std::string& bytes) {
        const std::string path = scratch.File(name);
        ScratchFolder::Write(path, bytes);
        if (!doc->OnOpenDocument(Q(path))) {
            return false;
        }
        doc->SetPathName(Q(path));
        return true;
    }

    ScratchFolder scratch;
    FakeUi ui;
    CHebDoc* doc;
    CHebView* view;
};

TEST_F(HebDocTest, OpenAndSaveKeepEveryByte) {
    std::string allBytes;
    for (int b = 1; b < 256; ++b) {
        allBytes.push_back(static_cast<char>(b));
    }
    const std::string files[] = {
        Heb("שורה אחת\r\nשורה שנייה\r\n"),
        Heb("lf only\nשורה\n\nlast"),
        "lone\rcarriage return and\nlone line feed\r\nin a CR LF file\r\n",
        std::string("nul\0inside\r\n", 12) + allBytes,
        "\xA0\xCA\x81\xFF\xFB\x85\r\n\r\n",
        "",
        "no line end at all",
    };
    for (const std::string& bytes : files) {
        ASSERT_TRUE(Open("page.htm", bytes));
        ASSERT_TRUE(doc->OnSaveDocument(Q(scratch.File("copy.htm"))));
        EXPECT_EQ(ScratchFolder::Read(scratch.File("copy.htm")), bytes);
    }
}

TEST_F(HebDocTest, LargePageSavedBeforeItsWindowShowsKeepsEveryByte) {
    // A large page opened for a window still to be shown keeps its text
    // back until that window's first display; a save before then must not
    // write the empty text in its place.
    std::string bytes;
    while (bytes.size() <= (size_t{1} << 20)) {
        bytes += Heb("שורה של עמוד גדול\r\n");
    }
    doc->SetOpensIntoShownWindow(true);
    ASSERT_TRUE(Open("large.htm", bytes));
    doc->SetOpensIntoShownWindow(false);
    ASSERT_TRUE(doc->HasPendingText());
    ASSERT_TRUE(doc->OnSaveDocument(doc->GetPathName()));
    EXPECT_EQ(ScratchFolder::Read(scratch.File("large.htm")), bytes);
}

TEST_F(HebDocTest, LfFileIsEditedWithCrLfAndSavedWithLf) {
    ASSERT_TRUE(Open("unix.txt", "a\nb\n"));
    EXPECT_EQ(doc->GetLineEnds(), LineEnds::Lf);
    EXPECT_EQ(doc->GetText(), "a\r\nb\r\n");
    view->SetSel(1, 1);
    view->ReplaceSel("\r\nx", true);
    ASSERT_TRUE(doc->OnSaveDocument(doc->GetPathName()));
    EXPECT_EQ(ScratchFolder::Read(scratch.File("unix.txt")), "a\nx\nb\n");
}

TEST_F(HebDocTest, MissingFileIsReportedAndNotOpened) {
    EXPECT_FALSE(doc->OnOpenDocument(Q(scratch.File("absent.htm"))));
    ASSERT_EQ(ui.messages.size(), 1);
    // The path isolated left to right, the reason in Hebrew on the second line.
    EXPECT_TRUE(
        ui.messages[0].contains(QChar(0x2066) + Q(scratch.File("absent.htm")) + QChar(0x2069)));
    EXPECT_EQ(ui.messages[0].section(QLatin1Char('\n'), 1),
              QString::fromUtf8("הקובץ או התיקייה אינם קיימים."));
}

TEST_F(HebDocTest, FailedSaveKeepsFileAndModifiedState) {
    ASSERT_TRUE(Open("page.htm", "old"));
    doc->SetText("new text");
    doc->SetDocModified(true);
    // A folder stands where the file should be written.
    const std::string blocked = scratch.File("blocked.htm");
    std::filesystem::create_directory(blocked);
    EXPECT_FALSE(doc->OnSaveDocument(Q(blocked)));
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(doc->GetTitle().endsWith(QStringLiteral(" *")));
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_EQ(ScratchFolder::Read(scratch.File("page.htm")), "old");
}

TEST_F(HebDocTest, ModifiedMarker) {
    doc->SetTitle(QStringLiteral("MIRVAL1"));
    doc->SetDocModified(true);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("MIRVAL1"));  // untitled: no marker
    EXPECT_TRUE(doc->IsModified());

    ASSERT_TRUE(Open("page.htm", "x"));
    doc->SetDocModified(true);
    doc->SetDocModified(true);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("page.htm *"));
    EXPECT_TRUE(doc->IsChangedSincePreviewReload());
    ASSERT_TRUE(doc->OnSaveDocument(doc->GetPathName()));
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("page.htm"));
    EXPECT_FALSE(doc->IsModified());

    // A "*" inside a file name is not the marker.
    ASSERT_TRUE(Open("a*b.htm", "x"));
    doc->SetDocModified(true);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("a*b.htm *"));
    doc->SetDocModified(false);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("a*b.htm"));
}

TEST_F(HebDocTest, TypingMarksTheDocumentModified) {
    ASSERT_TRUE(Open("page.htm", "x"));
    view->OnInitialUpdate();
    EXPECT_FALSE(doc->IsModified());
    view->insertPlainText(QStringLiteral("y"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("page.htm *"));
}

TEST_F(HebDocTest, ExtensionAndFolder) {
    const struct {
        const char* path;
        const char* ext;
    } cases[] = {
        {"/site/page.htm", "htm"},        {"/site/page.HTML", "htm"}, {"/site/notes.txt", "txt"},
        {"/my.site/readme", ""},          {"/site/.htaccess", ""},    {"/site/a.bc", ""},
        {"/home/u/.config/x.htm", "htm"},
    };
    for (const auto& c : cases) {
        doc->SetPathName(QString::fromUtf8(c.path), false);
        EXPECT_EQ(doc->GetDocExt(), QString::fromUtf8(c.ext)) << c.path;
    }
    doc->SetPathName(QStringLiteral("/site/page.htm"), false);
    EXPECT_EQ(doc->GetDocumentFolder(), QStringLiteral("/site/"));
    CHebDoc untitled;
    EXPECT_EQ(untitled.GetDocExt(), QString());
    EXPECT_EQ(untitled.GetDocumentFolder(), QString());
}

TEST_F(HebDocTest, GeneratorTag) {
    const std::string tag = "<meta name='generator' content='MIRVAL'>";
    const struct {
        std::string page;
        std::string saved;
    } cases[] = {
        {"<head>a</head><head>", "<head>\r\n" + tag + "a</head><head>\r\n" + tag},
        {"<HEAD>a", "<HEAD>\r\n" + tag + "a"},
        {"<Head>a", "<Head>a"},
        {"<head>" + tag, "<head>" + tag},
        // Written with double quotes it is not recognised: a second one is added.
        {"<head><meta name=\"generator\">", "<head>\r\n" + tag + "<meta name=\"generator\">"},
        {"no head at all", "no head at all"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Open("page.htm", c.page));
        ASSERT_TRUE(doc->OnSaveDocument(doc->GetPathName()));
        EXPECT_EQ(ScratchFolder::Read(scratch.File("page.htm")), c.saved) << c.page;
        EXPECT_FALSE(doc->IsModified());
    }
}

TEST_F(HebDocTest, GeneratorTagMovesTheSelectionOn) {
    ASSERT_TRUE(Open("page.htm", "<head>\r\nabcdef"));
    view->SetSel(8, 10);
    ASSERT_TRUE(doc->OnSaveDocument(doc->GetPathName()));
    long start = 0;
    long end = 0;
    view->GetSel(start, end);
    EXPECT_EQ(start, 48);
    EXPECT_EQ(end, 50);
}

TEST_F(HebDocTest, DosDisplayIsSavedInDosBytes) {
    ASSERT_TRUE(Open("dos.txt", "\x80\x81 abc"));
    doc->SetText(Heb("אב abc"));
    doc->SetDosDisplay(true);
    ASSERT_TRUE(doc->OnSaveDocument(doc->GetPathName()));
    EXPECT_EQ(ScratchFolder::Read(scratch.File("dos.txt")), "\x80\x81 abc");
    EXPECT_EQ(doc->GetText(), "\x80\x81 abc");
    EXPECT_FALSE(doc->IsDosDisplay());
}

TEST_F(HebDocTest, ReadTemplate) {
    const std::string path = scratch.File("basic.mvt");
    ScratchFolder::Write(path, "<html>\r\n<body>\nlast");
    doc->ReadTemplate(Q(path));
    EXPECT_EQ(doc->GetText(), "<html>\r\n<body>\r\nlast\r\n");

    // Into a document with text, only the selection is replaced.
    doc->SetText("keep [this] keep");
    view->SetSel(5, 11);
    ScratchFolder::Write(path, "T");
    doc->ReadTemplate(Q(path));
    EXPECT_EQ(doc->GetText(), "keep T\r\n keep");

    ScratchFolder::Write(path, "");
    doc->SetText("x");
    view->SetSel(0, 1);
    doc->ReadTemplate(Q(path));
    EXPECT_EQ(doc->GetText(), "");
}

TEST_F(HebDocTest, MissingTemplateChangesNothing) {
    doc->SetText("text");
    doc->ReadTemplate(Q(scratch.File("none.mvt")));
    EXPECT_EQ(doc->GetText(), "text");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0], QStringLiteral(".ארעה שגיאה. וודא שקובץ התבנית אכן קיים"));
}

TEST_F(HebDocTest, SaveAsAndSaveAsTemplate) {
    ASSERT_TRUE(Open("page.htm", "x"));
    ui.fileAnswers.push_back(QString());  // cancelled: nothing changes
    doc->OnFileSaveAs();
    ASSERT_TRUE(ui.lastRequest);
    EXPECT_EQ(ui.lastRequest->folder, Q(scratch.Path().string()) + "/");
    EXPECT_EQ(ui.lastRequest->defaultExt, QStringLiteral("htm"));
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("page.htm"));

    const std::string other = scratch.File("other.htm");
    ui.fileAnswers.push_back(Q(other));
    doc->OnFileSaveAs();
    EXPECT_EQ(doc->GetPathName(), Q(other));
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("other.htm"));
    EXPECT_EQ(ScratchFolder::Read(other), "x");
    EXPECT_TRUE(ui.recentFiles.contains(Q(other)));

    const std::string templatePath = scratch.File("mine.mvt");
    ui.fileAnswers.push_back(Q(templatePath));
    doc->OnFileSaveAsTemplate();
    EXPECT_EQ(ui.lastRequest->defaultExt, QStringLiteral("mvt"));
    // No supplied templates beside the test program: the dialog opens in the
    // user's template folder (XDG_DATA_HOME is the scratch folder's "data"),
    // made for it.
    const QString userTemplates = Q(scratch.File("data/mirval/templates"));
    EXPECT_EQ(ui.lastRequest->folder, userTemplates);
    EXPECT_TRUE(QDir(userTemplates).exists());
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("mine.mvt"));
    EXPECT_EQ(ScratchFolder::Read(templatePath), "x");
}

TEST_F(HebDocTest, SettingsComeFromTheProfile) {
    IniProfile profile;
    profile.SetPath(scratch.File("profile.ini"));
    profile.WriteString("Settings", "TableDisplay", "-1");
    profile.WriteString("Settings", "2CRLFPara", "1");
    profile.WriteString("Settings", "BreakLinesAt", "garbage");
    profile.WriteString("Settings", "ImageAlt", "1");
    ASSERT_TRUE(profile.Save());

    CHebDoc fresh;
    ConversionSettings conversion;
    fresh.GetConversionSettings(conversion);
    TableSettings table;
    fresh.GetTableSettings(table);
    ImageSettings image;
    fresh.GetImageSettings(image);
    EXPECT_EQ(table.TableDisplay, 0);
    EXPECT_EQ(conversion.TwoCRLFPara, 1);
    EXPECT_EQ(conversion.BreakLinesAt, 70);
    EXPECT_EQ(image.ImageAlt, 1);

    // Saving writes the off flag as -1 and leaves the hand-set ImageAlt alone.
    conversion.BreakLines = 0;
    fresh.SetConversionSettings(conversion);
    fresh.SaveSettings();
    IniProfile saved;
    ASSERT_TRUE(saved.Load(scratch.File("profile.ini")));
    EXPECT_EQ(saved.GetString("Settings", "BreakLines", ""), "-1");
    EXPECT_EQ(saved.GetString("Settings", "TableDisplay", ""), "-1");
    EXPECT_EQ(saved.GetString("Settings", "ImageAlt", ""), "1");
}

TEST_F(HebDocTest, DefaultsWithoutProfile) {
    CHebDoc fresh;
    ConversionSettings conversion;
    fresh.GetConversionSettings(conversion);
    TableSettings table;
    fresh.GetTableSettings(table);
    EXPECT_EQ(conversion, ConversionSettings{});
    EXPECT_EQ(table.TDTag, "<td align=\"right\" valign=\"top\" nowrap>");
    EXPECT_EQ(CHebDoc::ReadFontSettings("CodeFont").Color, 0x8000);
    EXPECT_EQ(CHebDoc::ReadFontSettings("RegFont").Color, 0);
    EXPECT_FALSE(CHebDoc::IsShowSyntax());
}

}  // namespace
