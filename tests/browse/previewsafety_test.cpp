// Preview windows never write a file, and the preview file is never written
// through a link or over a file this run did not write.
#include <sys/stat.h>

#include <QFileInfo>
#include <QMenuBar>

#include "browsefixture.h"
#include "framework/commandids.h"

namespace {

class PreviewSafetyTest : public BrowseTest {
protected:
    bool IsSymLink(const QString& path) {
        struct stat info {};
        return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
    }
};

TEST_F(PreviewSafetyTest, SaveAndSaveAsAreGreyedInEveryPreviewWindowAndWriteNothing) {
    const std::string helpBytes = "<html dir=\"rtl\">help</html>";
    const QString help = WriteFile("h_mirval.htm", helpBytes);
    CHebDoc* doc = OpenPage("index.htm", "<p>x</p>\r\n");
    SetBrowse(doc, 0, 0, "");
    Browse(doc);
    const std::string previewBytes = ReadFile(Path("index_mirval.htm"));
    const QList<CDocument*> pages = {
        PreviewOf(doc), app->BrowseAddress(help, QStringLiteral("h")),
        app->BrowseAddress(CHebApp::HomePageAddress(), QStringLiteral("home"))};
    for (CDocument* page : pages) {
        ASSERT_NE(page, nullptr);
        Activate(page);
        ASSERT_EQ(Frame()->GetActiveDocument(), page);
        Frame()->UpdateCommandUI();
        ASSERT_EQ(Frame()->CurrentMenu(), 130);
        for (int id : {CommandId::FileSave, CommandId::FileSaveAs}) {
            // The items stay in the preview's menu, greyed.
            QAction* action = Frame()->CommandAction(id);
            ASSERT_NE(action, nullptr);
            EXPECT_FALSE(action->isEnabled()) << id;
            bool inMenu = false;
            for (QAction* menu : Frame()->menuBar()->actions()) {
                inMenu =
                    inMenu || (menu->menu() != nullptr && menu->menu()->actions().contains(action));
            }
            EXPECT_TRUE(inMenu) << id;
            // Ctrl+S or the item reach nothing, whatever the dialog would say.
            ui.fileAnswers.push_back(Path("chosen.htm"));
            EXPECT_FALSE(Route(id));
            ui.fileAnswers.clear();
        }
        // Even called directly, the document writes nothing.
        ui.fileAnswers.push_back(Path("chosen.htm"));
        EXPECT_TRUE(page->OnCmdMsg(CommandId::FileSaveAs));
        EXPECT_TRUE(page->OnCmdMsg(CommandId::FileSave));
        EXPECT_FALSE(page->DoFileSave());
        EXPECT_FALSE(page->DoSave(Path("chosen.htm")));
    }
    EXPECT_FALSE(QFileInfo::exists(Path("chosen.htm")));
    EXPECT_EQ(ReadFile(help), helpBytes);
    EXPECT_EQ(ReadFile(Path("index_mirval.htm")), previewBytes);
    EXPECT_EQ(PreviewOf(doc)->GetPathName(), Path("index_mirval.htm"));
}

TEST_F(PreviewSafetyTest, AFileThisRunDidNotWriteIsReplacedOnlyWhenTheUserSaysSo) {
    const std::string preview = "<HTML><meta charset='visual'><p>x</p>\r\n</HTML>";
    // The user's own file, and a link at the name pointing at another file.
    struct Case {
        const char* name;
        bool link;
    };
    for (const Case& c : {Case{"own", false}, Case{"linked", true}}) {
        const QString page = WriteFile((std::string(c.name) + ".htm").c_str(), "<p>x</p>\r\n");
        const QString name = Path((std::string(c.name) + "_mirval.htm").c_str());
        const QString target = WriteFile((std::string(c.name) + "-target.txt").c_str(), "MINE");
        if (c.link) {
            ASSERT_TRUE(QFile::link(target, name));
        } else {
            ASSERT_TRUE(QFile::copy(target, name));
        }
        auto* doc = qobject_cast<CHebDoc*>(Editor()->OpenDocumentFile(page));
        ASSERT_NE(doc, nullptr);
        SetBrowse(doc, 0, 0, "");
        const int windows = Frame()->ChildFrames().size();

        // No: nothing opens, nothing is written.
        const int asked = ui.questions.size();
        Browse(doc);
        ASSERT_EQ(ui.questions.size(), asked + 1) << c.name;
        EXPECT_TRUE(ui.questions.last().contains(name));
        EXPECT_FALSE(doc->IsPreviewOpen());
        EXPECT_EQ(Frame()->ChildFrames().size(), windows);
        EXPECT_EQ(ReadFile(name), "MINE");
        EXPECT_EQ(IsSymLink(name), c.link);
        EXPECT_TRUE(ui.messages.isEmpty());
        // The external browser's file is no different.
        SetBrowse(doc, 0, 1, "/nonexistent/browser");
        Browse(doc);
        EXPECT_EQ(ui.questions.size(), asked + 2);
        EXPECT_EQ(ReadFile(name), "MINE");

        // Yes: a new file of the program's own takes the name; a link's
        // target is never written.
        SetBrowse(doc, 0, 0, "");
        ui.yesNoAnswers.push_back(true);
        Browse(doc);
        EXPECT_TRUE(doc->IsPreviewOpen());
        EXPECT_FALSE(IsSymLink(name));
        EXPECT_EQ(ReadFile(name), preview);
        EXPECT_EQ(ReadFile(target), "MINE");
        // From now on it is the program's file: rewritten without a question,
        // and deleted with its window.
        Browse(doc);
        EXPECT_EQ(ui.questions.size(), asked + 3);
        CloseWindowOf(PreviewOf(doc));
        EXPECT_FALSE(QFileInfo::exists(name));
        EXPECT_EQ(ReadFile(target), "MINE");
        doc->OnCloseDocument();
        Settle();
    }
}

TEST_F(PreviewSafetyTest, ClosingDeletesOnlyTheFileThePreviewWrote) {
    CHebDoc* doc = OpenPage("index.htm", "<p>x</p>\r\n");
    SetBrowse(doc, 0, 0, "");
    Browse(doc);
    ASSERT_TRUE(doc->IsPreviewOpen());
    // Another program puts its own file, then a link, at the name while the
    // preview is open: closing the window leaves either alone.
    const QString name = Path("index_mirval.htm");
    ASSERT_TRUE(QFile::remove(name));
    WriteFile("index_mirval.htm", "THEIRS");
    CloseWindowOf(PreviewOf(doc));
    EXPECT_EQ(ReadFile(name), "THEIRS");

    ASSERT_TRUE(QFile::remove(name));
    Browse(doc);  // no file there now: no question
    EXPECT_TRUE(ui.questions.isEmpty());
    const QString target = WriteFile("target.txt", "T");
    ASSERT_TRUE(QFile::remove(name));
    ASSERT_TRUE(QFile::link(target, name));
    // The next preview asks before it replaces the link (No here), and the
    // window's closing removes neither the link nor its target.
    Type(doc, QStringLiteral("y"));
    Browse(doc);
    EXPECT_EQ(ui.questions.size(), 1);
    CloseWindowOf(PreviewOf(doc));
    EXPECT_TRUE(IsSymLink(name));
    EXPECT_EQ(ReadFile(target), "T");
}

}  // namespace
