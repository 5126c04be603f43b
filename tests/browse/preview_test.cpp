// The preview command and window: the options sheet first, the window linked
// to its source, the reload rule, deleting the preview file, and the external
// browser.
#include <QDir>
#include <QFileDevice>

#include "browsefixture.h"
#include "common/hebrew.h"
#include "document/ioptionssheet.h"
#include "framework/commandids.h"

namespace {

class PreviewTest : public BrowseTest {};

TEST_F(PreviewTest, TheCommandReachesTheDocumentAndShowsTheBrowsePageFirst) {
    CHebDoc* doc = OpenPage("index.htm", "<p>x</p>\r\n");
    ASSERT_NE(doc, nullptr);
    // BrowseDisplay is on by default: the sheet opens at the browse page,
    // and cancelling it still previews.
    EXPECT_TRUE(doc->OnCmdMsg(CommandId::Browse));
    Settle();
    EXPECT_EQ(sheet.pages, std::vector<int>({kBrowsePage}));
    EXPECT_TRUE(doc->IsPreviewOpen());
    EXPECT_EQ(ReadFile(Path("index_mirval.htm")),
              "<HTML><meta charset='visual'><p>x</p>\r\n</HTML>");

    // Confirmed, the sheet's settings are the ones the preview uses.
    sheet.confirm = true;
    sheet.edit = [](OptionsValues& values) { values.browse.BrowseMeta = "<meta charset='x'>"; };
    EXPECT_TRUE(doc->OnCmdMsg(CommandId::Browse));
    EXPECT_EQ(sheet.pages, std::vector<int>({kBrowsePage, kBrowsePage}));
    EXPECT_EQ(ReadFile(Path("index_mirval.htm")), "<HTML><meta charset='x'><p>x</p>\r\n</HTML>");

    // With BrowseDisplay off the sheet stays shut.
    sheet.edit = [](OptionsValues& values) { values.browse.BrowseDisplay = 0; };
    doc->OnBrowse();
    doc->OnBrowse();
    EXPECT_EQ(sheet.pages.size(), 3u);
}

TEST_F(PreviewTest, OpensOneTitledWindowLinkedToItsSource) {
    CHebDoc* doc = OpenPage("index.htm", "<p>x</p>\r\n");
    SetBrowse(doc, 0, 0, "");
    Type(doc, QStringLiteral("y"));
    ASSERT_EQ(doc->GetTitle(), QStringLiteral("index.htm *"));
    Browse(doc);

    ASSERT_TRUE(doc->IsPreviewOpen());
    CBrowseDoc* preview = PreviewOf(doc);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetDocTemplate(), Preview());
    EXPECT_EQ(preview->GetSourceDoc(), doc);
    // The modified marker's "*" is left out; its blank stays.
    EXPECT_EQ(preview->GetTitle(), QStringLiteral("Browsing: index.htm "));
    EXPECT_EQ(preview->GetPathName(), Path("index_mirval.htm"));
    EXPECT_EQ(Frame()->GetActiveDocument(), preview);
    ASSERT_NE(BrowserOf(preview), nullptr);
    EXPECT_EQ(BrowserOf(preview)->addresses, QStringList({Path("index_mirval.htm")}));
    EXPECT_TRUE(ViewOf(preview)->IsBrowserCreated());
    // The browser fills the view.
    EXPECT_EQ(BrowserOf(preview)->geometry(), ViewOf(preview)->rect());

    // The command again opens no second window.
    Browse(doc);
    EXPECT_EQ(Preview()->Documents().size(), 1);
    EXPECT_EQ(PreviewOf(doc), preview);
}

TEST_F(PreviewTest, ReloadsOnlyWhenTheTextChangedSinceTheLastReload) {
    CHebDoc* doc = OpenPage("index.htm", "<p>x</p>\r\n");
    SetBrowse(doc, 0, 0, "");
    Type(doc, QStringLiteral("y"));
    // Changed before the first preview: opening is no reload, so the next
    // command reloads once and brings the preview forward.
    Browse(doc);
    FakeBrowser* browser = BrowserOf(PreviewOf(doc));
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->refreshes, 0);
    EXPECT_TRUE(doc->IsChangedSincePreviewReload());
    Activate(doc);
    Browse(doc);
    EXPECT_EQ(browser->refreshes, 1);
    EXPECT_FALSE(doc->IsChangedSincePreviewReload());
    EXPECT_EQ(Frame()->GetActiveDocument(), PreviewOf(doc));

    // Unchanged (saving is no change): the file is written again, the page
    // is not reloaded and the preview window does not come forward.
    Activate(doc);
    doc->DoFileSave();
    ASSERT_TRUE(QFile::remove(Path("index_mirval.htm")));
    Browse(doc);
    EXPECT_TRUE(QFile::exists(Path("index_mirval.htm")));
    EXPECT_EQ(browser->refreshes, 1);
    EXPECT_EQ(Frame()->GetActiveDocument(), doc);

    // Edited, then the preview window activated: rewritten and reloaded;
    // activated again without an edit: not reloaded.
    Type(doc, QStringLiteral("z"));
    Activate(PreviewOf(doc));
    EXPECT_EQ(browser->refreshes, 2);
    EXPECT_EQ(ReadFile(Path("index_mirval.htm")),
              "<HTML><meta charset='visual'><p>x</p>\r\nyz</HTML>");
    Activate(doc);
    Activate(PreviewOf(doc));
    EXPECT_EQ(browser->refreshes, 2);
    EXPECT_EQ(browser->addresses.size(), 1);
}

TEST_F(PreviewTest, ClosingEitherWindowDeletesTheFile) {
    CHebDoc* doc = OpenPage("index.htm", "<p>x</p>\r\n");
    SetBrowse(doc, 0, 0, "");
    Browse(doc);
    CloseWindowOf(PreviewOf(doc));
    EXPECT_FALSE(QFile::exists(Path("index_mirval.htm")));
    EXPECT_FALSE(doc->IsPreviewOpen());
    EXPECT_EQ(doc->GetPreviewDoc(), nullptr);

    // The source stays; the next command opens a new window, which goes
    // with its source.
    Browse(doc);
    EXPECT_TRUE(doc->IsPreviewOpen());
    ASSERT_EQ(Preview()->Documents().size(), 1);
    CloseWindowOf(doc);
    EXPECT_TRUE(Preview()->Documents().isEmpty());
    EXPECT_FALSE(QFile::exists(Path("index_mirval.htm")));
    EXPECT_EQ(Frame()->ChildFrames().size(), 1);  // MIRVAL1
}

TEST_F(PreviewTest, SavingUnderAnotherNameMovesTheOpenPreview) {
    CHebDoc* doc = OpenPage("old.htm", "<p>x</p>\r\n");
    SetBrowse(doc, 0, 0, "");
    Browse(doc);
    CBrowseDoc* preview = PreviewOf(doc);
    ui.fileAnswers.push_back(Path("new.htm"));
    doc->OnFileSaveAs();
    Browse(doc);
    EXPECT_EQ(PreviewOf(doc), preview);
    EXPECT_EQ(preview->GetPathName(), Path("new_mirval.htm"));
    EXPECT_EQ(preview->GetTitle(), QStringLiteral("Browsing: new.htm"));
    EXPECT_EQ(BrowserOf(preview)->addresses.last(), Path("new_mirval.htm"));
    EXPECT_FALSE(QFile::exists(Path("old_mirval.htm")));
    CloseWindowOf(preview);
    EXPECT_FALSE(QFile::exists(Path("new_mirval.htm")));
}

TEST_F(PreviewTest, PreviewFilesNeverEnterTheRecentFileList) {
    CHebDoc* doc = OpenPage("index.htm", "<p>x</p>\r\n");
    SetBrowse(doc, 0, 0, "");
    Browse(doc);
    CloseWindowOf(PreviewOf(doc));
    Browse(doc);
    app->OnHelpFile();
    app->BrowseAddress(WriteFile("other_mirval.htm", "x"), QStringLiteral("x"));
    Settle();
    EXPECT_EQ(app->RecentFiles(), QStringList({Path("index.htm")}));
    // The preview's own file is not even offered to the list.
    EXPECT_FALSE(ui.recentFiles.contains(Path("index_mirval.htm")));
}

// A browser program that writes each of its arguments on a line of its own,
// then marks that it is done.
QString WriteRecordingBrowser(const QString& folder) {
    const QString script = folder + QStringLiteral("/browser.sh");
    QFile file(script);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "#!/bin/sh\n"
        "out=\"$(dirname \"$0\")/args.txt\"\n"
        "printf '%s\\n' \"$#\" >\"$out.part\"\n"
        "for a in \"$@\"; do printf '%s\\n' \"$a\" >>\"$out.part\"; done\n"
        "mv \"$out.part\" \"$out\"\n");
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return script;
}

TEST_F(PreviewTest, TheExternalBrowserGetsThePathAsItsOneArgument) {
    ASSERT_TRUE(QDir().mkpath(Path("my site")));
    CHebDoc* doc = OpenPage("my site/page one.htm", "<p>x</p>\r\n");
    ASSERT_NE(doc, nullptr);
    // An internal preview first: the external one leaves it alone.
    SetBrowse(doc, 0, 0, "");
    Browse(doc);
    CBrowseDoc* preview = PreviewOf(doc);
    Type(doc, QStringLiteral("y"));

    const QString program = WriteRecordingBrowser(Path("my site"));
    SetBrowse(doc, 0, 1, QFile::encodeName(program).toStdString());
    Browse(doc);
    const QString args = Path("my site/args.txt");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(args); }, 20000));
    const QString expected = Path("my site/page one_mirval.htm");
    EXPECT_EQ(ReadFile(args), "1\n" + QFile::encodeName(expected).toStdString() + "\n");
    EXPECT_EQ(ReadFile(expected), "<HTML><meta charset='visual'><p>x</p>\r\ny</HTML>");
    EXPECT_TRUE(ui.messages.isEmpty());
    // The internal preview is neither reloaded nor closed, and the state is
    // as it was.
    EXPECT_EQ(PreviewOf(doc), preview);
    EXPECT_TRUE(doc->IsPreviewOpen());
    EXPECT_TRUE(doc->IsChangedSincePreviewReload());
    EXPECT_EQ(BrowserOf(preview)->refreshes, 0);
}

TEST_F(PreviewTest, AnExternalBrowserThatIsNotThereDoesNothing) {
    CHebDoc* doc = OpenPage("index.htm", "<p>x</p>\r\n");
    for (const std::string& program : {std::string(), scratch.File("no-such-browser")}) {
        SetBrowse(doc, 0, 1, program);
        Browse(doc);
        EXPECT_TRUE(ui.messages.isEmpty());
        EXPECT_FALSE(doc->IsPreviewOpen());
        EXPECT_TRUE(Preview()->Documents().isEmpty());
        // The file is written, and left on disk.
        EXPECT_TRUE(QFile::exists(Path("index_mirval.htm")));
    }
    CloseWindowOf(doc);
    EXPECT_TRUE(QFile::exists(Path("index_mirval.htm")));
}

}  // namespace
