// The preview file: its name beside the document, its bytes, and a file that
// cannot be written.
#include <QDir>

#include "browsefixture.h"
#include "common/hebrew.h"
#include "framework/commandids.h"

namespace {

struct NameCase {
    const char* path;
    const char* currentFolder;
    const char* title;
    const char* expected;
};

TEST(PreviewFileNameTest, LosesOnlyTheFileNamesExtension) {
    const NameCase cases[] = {
        {"/site/index.htm", "/elsewhere", "index.htm", "/site/index_mirval.htm"},
        {"/site/index.html", "", "index.html", "/site/index_mirval.htm"},
        {"/site/page.old.htm", "", "page.old.htm", "/site/page.old_mirval.htm"},
        // No extension: the name is kept whole, and the "." of a folder is
        // not taken for one.
        {"/site/readme", "", "readme", "/site/readme_mirval.htm"},
        {"/my.site/readme", "", "readme", "/my.site/readme_mirval.htm"},
        {"/my.site/v1.2/notes", "", "notes", "/my.site/v1.2/notes_mirval.htm"},
        // A hidden file's leading "." starts no extension.
        {"/site/.page", "", ".page", "/site/.page_mirval.htm"},
        {"/site/with blank.htm", "", "with blank.htm", "/site/with blank_mirval.htm"},
        // A document without a path: its title in the current folder.
        {"", "/work/pages", "MIRVAL1", "/work/pages/MIRVAL1_mirval.htm"},
        {"", "/work/pages/", "MIRVAL2", "/work/pages/MIRVAL2_mirval.htm"},
        {"", "/", "MIRVAL3", "/MIRVAL3_mirval.htm"},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(
            CHebDoc::PreviewFilePath(QString::fromUtf8(c.path), QString::fromUtf8(c.currentFolder),
                                     QString::fromUtf8(c.title)),
            QString::fromUtf8(c.expected))
            << c.path << " / " << c.title;
    }
}

TEST(PreviewFileContentTest, WrapsTheTextWithTheMetaTagByteForByte) {
    const std::string text = Heb("<p>שלום</p>\r\n<html>x</html>\r\n");
    EXPECT_EQ(CHebDoc::PreviewFileContent(text, ""), "<HTML>" + text + "</HTML>");
    EXPECT_EQ(CHebDoc::PreviewFileContent(text, "<meta charset='visual'>"),
              "<HTML><meta charset='visual'>" + text + "</HTML>");
    EXPECT_EQ(CHebDoc::PreviewFileContent("", "<meta charset='visual'>"),
              "<HTML><meta charset='visual'></HTML>");
    // Every byte passes as it is, NUL and undefined code page bytes too.
    const std::string raw("\xE0\x00\x9F\xFF\r", 5);
    EXPECT_EQ(CHebDoc::PreviewFileContent(raw, ""), "<HTML>" + raw + "</HTML>");
}

class PreviewFileTest : public BrowseTest {};

TEST_F(PreviewFileTest, WritesTheEditorTextBesideTheDocument) {
    // A file with LF line ends is written with the editor's CR LF, after the
    // meta tag the document's settings name.
    const std::string page = Heb("<p>שלום עולם</p>\n<p>abc</p>\n");
    CHebDoc* doc = OpenPage("index.htm", page);
    ASSERT_NE(doc, nullptr);
    SetBrowse(doc, 0, 0, "");
    Browse(doc);
    const QString preview = Path("index_mirval.htm");
    EXPECT_EQ(doc->GetPreviewFilePath(), preview);
    EXPECT_EQ(ReadFile(preview),
              Heb("<HTML><meta charset='visual'><p>שלום עולם</p>\r\n<p>abc</p>\r\n</HTML>"));
    // The document's own file is untouched.
    EXPECT_EQ(ReadFile(Path("index.htm")), page);

    // Without a meta tag: "<HTML>", the text, "</HTML>".
    SetBrowse(doc, 0, 0, "", "");
    Browse(doc);
    EXPECT_EQ(ReadFile(preview), Heb("<HTML><p>שלום עולם</p>\r\n<p>abc</p>\r\n</HTML>"));
}

TEST_F(PreviewFileTest, AnUnsavedDocumentPreviewsThroughItsTitleInTheCurrentFolder) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(scratch.Path().string())));
    auto* doc = qobject_cast<CHebDoc*>(Frame()->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->GetTitle(), QStringLiteral("MIRVAL1"));
    Type(doc, QStringLiteral("abc"));
    SetBrowse(doc, 0, 0, "");
    Browse(doc);
    EXPECT_EQ(ReadFile(Path("MIRVAL1_mirval.htm")), "<HTML><meta charset='visual'>abc</HTML>");
    EXPECT_EQ(PreviewOf(doc)->GetTitle(), QStringLiteral("Browsing: MIRVAL1"));
    QDir::setCurrent(before);
}

TEST_F(PreviewFileTest, AFileThatCannotBeWrittenIsReportedAndNothingElseHappens) {
    CHebDoc* doc = OpenPage("index.htm", "<p>x</p>\r\n");
    ASSERT_NE(doc, nullptr);
    SetBrowse(doc, 0, 0, "");
    // A folder where the preview file should be: no file can be made there,
    // whoever runs the test.
    ASSERT_TRUE(QDir().mkpath(Path("index_mirval.htm")));
    const int windows = Frame()->ChildFrames().size();
    Browse(doc);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages.first().contains(Path("index_mirval.htm")));
    EXPECT_FALSE(doc->IsPreviewOpen());
    EXPECT_EQ(doc->GetPreviewDoc(), nullptr);
    EXPECT_EQ(Frame()->ChildFrames().size(), windows);
    EXPECT_TRUE(Preview()->Documents().isEmpty());

    // Once it can be written, the preview opens; when it cannot be written
    // again, the open preview is neither reloaded nor closed.
    ASSERT_TRUE(QDir(Path("index_mirval.htm")).removeRecursively());
    Browse(doc);
    ASSERT_TRUE(doc->IsPreviewOpen());
    CBrowseDoc* preview = PreviewOf(doc);
    Type(doc, QStringLiteral("y"));
    ASSERT_TRUE(QFile::remove(Path("index_mirval.htm")));
    ASSERT_TRUE(QDir().mkpath(Path("index_mirval.htm")));
    Browse(doc);
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(doc->IsPreviewOpen());
    EXPECT_EQ(PreviewOf(doc), preview);
    EXPECT_EQ(BrowserOf(preview)->refreshes, 0);
    EXPECT_TRUE(doc->IsChangedSincePreviewReload());
}

TEST_F(PreviewFileTest, AnEmptyTextPreviewsOnlyWhileAPreviewIsOpen) {
    CHebDoc* doc = OpenPage("page.htm", "x");
    SetBrowse(doc, 0, 0, "");
    CCmdUI state(CommandId::Browse);
    ASSERT_TRUE(doc->OnUpdateCmdMsg(state));
    EXPECT_TRUE(state.IsEnabled());
    Browse(doc);
    doc->SetText("");
    CCmdUI open(CommandId::Browse);
    doc->OnUpdateCmdMsg(open);
    EXPECT_TRUE(open.IsEnabled());
    Browse(doc);
    EXPECT_EQ(ReadFile(Path("page_mirval.htm")), "<HTML><meta charset='visual'></HTML>");

    CloseWindowOf(PreviewOf(doc));
    CCmdUI closed(CommandId::Browse);
    doc->OnUpdateCmdMsg(closed);
    EXPECT_FALSE(closed.IsEnabled());
}

}  // namespace
