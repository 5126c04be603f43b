// The application: start-up, the document commands, the recent-file list and
// preview documents opened by address.
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QScrollBar>
#include <QTextLayout>

#include "app/commandtable.h"
#include "appfixture.h"
#include "browse/browsedoc.h"
#include "browse/browseview.h"
#include "document/hebdoc.h"
#include "framework/appprofile.h"
#include "framework/profile.h"
#include "framework/programfolder.h"
#include "framework/view.h"
#include "view/hebview.h"

namespace {

class HebAppTest : public AppTest {
protected:
    CHebDoc* ActiveHebDoc() const { return qobject_cast<CHebDoc*>(Frame()->GetActiveDocument()); }
};

TEST_F(HebAppTest, StartsWithOneNewDocumentAndNumbersTheNext) {
    ASSERT_TRUE(app->InitInstance());
    ASSERT_EQ(app->GetTemplateCount(), 2);
    EXPECT_EQ(Editor()->ResourceId(), kEditorMenu);
    EXPECT_EQ(Preview()->ResourceId(), kPreviewMenu);
    EXPECT_EQ(app->GetTemplate(2), nullptr);

    ASSERT_EQ(Editor()->Documents().size(), 1);
    ASSERT_NE(ActiveHebDoc(), nullptr);
    EXPECT_EQ(ActiveHebDoc()->GetTitle(), QStringLiteral("MIRVAL1"));
    EXPECT_FALSE(ActiveHebDoc()->IsModified());
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("MIRVAL - MIRVAL1"));

    EXPECT_TRUE(Route(CommandId::FileNew));
    ASSERT_EQ(Editor()->Documents().size(), 2);
    EXPECT_EQ(ActiveHebDoc()->GetTitle(), QStringLiteral("MIRVAL2"));
    EXPECT_TRUE(Preview()->Documents().isEmpty());
}

TEST_F(HebAppTest, StartsWithTheFileNamedOnTheCommandLine) {
    const QString file = WriteFile("page.htm", "<p>x</p>\r\n");
    ASSERT_TRUE(app->InitInstance(file));
    ASSERT_EQ(Editor()->Documents().size(), 1);
    EXPECT_EQ(ActiveHebDoc()->GetPathName(), file);
    EXPECT_TRUE(Frame()->windowTitle().contains(QStringLiteral("page.htm")));
}

TEST_F(HebAppTest, StartUpFailsWhenTheNamedFileCannotBeOpened) {
    EXPECT_FALSE(app->InitInstance(Path("missing.htm")));
    EXPECT_TRUE(Editor()->Documents().isEmpty());
    EXPECT_FALSE(ui.messages.isEmpty());
}

TEST_F(HebAppTest, AnUnreadableProfileIsReportedAndLeftAlone) {
    // A folder stands where the profile should be.
    const QString profile = Path("profile-folder");
    ASSERT_TRUE(QDir().mkpath(profile));
    ::setenv("MIRVAL_PROFILE", profile.toLocal8Bit().constData(), 1);
    ASSERT_TRUE(app->InitInstance());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(profile));
    // The program runs on the defaults and writes nothing over it.
    ConversionSettings conversion;
    ActiveHebDoc()->GetConversionSettings(conversion);
    EXPECT_EQ(conversion, ConversionSettings{});
    app->AddToRecentFileList(WriteFile("page.htm", "x"));
    EXPECT_TRUE(QFileInfo(profile).isDir());
    // Keeping the recent-file list failed, and the user is told so, as for
    // any other setting.
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(ui.messages[1].contains(profile));
    EXPECT_EQ(app->RecentFiles().size(), 1);
    // Once a run: the next file opened does not ask again.
    app->AddToRecentFileList(WriteFile("other.htm", "y"));
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(app->RecentFiles().size(), 2);
}

TEST_F(HebAppTest, AFifoAsProfileOrDocumentIsRefusedWithoutWaiting) {
    const QString fifo = Path("fifo");
    const QByteArray local = fifo.toLocal8Bit();
    ASSERT_EQ(::mkfifo(local.constData(), 0600), 0);
    ::setenv("MIRVAL_PROFILE", local.constData(), 1);
    ::alarm(20);  // a start that waits for a writer ends the test program, failing it
    EXPECT_FALSE(app->InitInstance(fifo));
    ::alarm(0);
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(ui.messages[0].contains(fifo));  // the profile: the defaults hold
    EXPECT_TRUE(ui.messages[1].contains(fifo));
    EXPECT_TRUE(ui.messages[1].contains(QStringLiteral("אינו קובץ רגיל")));
    EXPECT_TRUE(Editor()->Documents().isEmpty());
    app->AddToRecentFileList(WriteFile("page.htm", "x"));  // writes nothing into the FIFO
    struct stat info {};
    ASSERT_EQ(::stat(local.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(HebAppTest, OpenTakesAnyExtensionAsAnEditorDocument) {
    ASSERT_TRUE(app->InitInstance());
    const QString templ = WriteFile("site.mvt", "<html>\r\n</html>\r\n");
    const QString text = WriteFile("notes.txt", "plain\r\n");
    ui.fileAnswers = {templ, text};

    EXPECT_TRUE(Route(CommandId::FileOpen));
    ASSERT_TRUE(ui.lastRequest.has_value());
    EXPECT_EQ(ui.lastRequest->defaultExt, QStringLiteral("htm"));
    EXPECT_TRUE(ui.lastRequest->defaultName.isEmpty());
    EXPECT_TRUE(ui.lastRequest->folder.isEmpty());
    EXPECT_EQ(ui.lastRequest->filter,
              QStringLiteral("Web files (*.htm*, *.asp)|*.htm*; *.asp|MIRVAL Templates "
                             "(*.mvt)|*.mvt|Text files (*.txt)|*.txt|All files (*.*)|*.*||"));
    ASSERT_NE(ActiveHebDoc(), nullptr);
    EXPECT_EQ(ActiveHebDoc()->GetPathName(), templ);
    EXPECT_EQ(ActiveHebDoc()->GetText(), "<html>\r\n</html>\r\n");

    EXPECT_TRUE(Route(CommandId::FileOpen));
    ASSERT_NE(ActiveHebDoc(), nullptr);
    EXPECT_EQ(ActiveHebDoc()->GetPathName(), text);
    EXPECT_EQ(ActiveHebDoc()->GetDocTemplate(), Editor());
    EXPECT_EQ(Editor()->Documents().size(), 3);

    // Cancelled: nothing opens.
    EXPECT_TRUE(Route(CommandId::FileOpen));
    EXPECT_EQ(Editor()->Documents().size(), 3);
}

TEST_F(HebAppTest, NewFromTemplateFillsANewDocument) {
    ASSERT_TRUE(app->InitInstance());
    const QString before = QDir::currentPath();
    const QString templ = WriteFile("letter.mvt", "<html>\r\n<body>");
    ui.fileAnswers = {templ};

    EXPECT_TRUE(Route(CommandId::FileNewFromTemplate));
    ASSERT_TRUE(ui.lastRequest.has_value());
    EXPECT_EQ(ui.lastRequest->defaultName, QStringLiteral("basic.mvt"));
    EXPECT_EQ(ui.lastRequest->defaultExt, QStringLiteral("mvt"));
    EXPECT_EQ(ui.lastRequest->folder, QFileInfo(FindDataFile("basic.mvt")).absolutePath());
    EXPECT_EQ(ui.lastRequest->filter,
              QStringLiteral("MIRVAL Templates (*.mvt)|*.mvt|HTML files (*.htm*)|*.htm*|Text "
                             "files (*.txt)|*.txt|All files (*.*)|*.*||"));
    ASSERT_NE(ActiveHebDoc(), nullptr);
    EXPECT_EQ(ActiveHebDoc()->GetTitle(), QStringLiteral("MIRVAL2"));
    // Every line of the template ends with CR LF, the last one too.
    EXPECT_EQ(ActiveHebDoc()->GetText(), "<html>\r\n<body>\r\n");
    // The document is a new one: it has no path, and the template is not
    // a recent file.
    EXPECT_TRUE(ActiveHebDoc()->GetPathName().isEmpty());
    EXPECT_TRUE(app->RecentFiles().isEmpty());
    EXPECT_EQ(QDir::currentPath(), before);

    // Cancelled: the new empty document stays.
    EXPECT_TRUE(Route(CommandId::FileNewFromTemplate));
    EXPECT_EQ(Editor()->Documents().size(), 3);
    EXPECT_EQ(ActiveHebDoc()->GetTitle(), QStringLiteral("MIRVAL3"));
    EXPECT_EQ(ActiveHebDoc()->GetText(), "");
    EXPECT_EQ(QDir::currentPath(), before);

    // The test program has no supplied templates beside it, so it looks up
    // templates as an installed program does: once the user's template folder
    // ($XDG_DATA_HOME/mirval/templates) exists, the dialog opens there, with
    // every template folder in its side bar, and proposes basic.mvt only
    // where there is one.
    const QString user = Path("data/mirval/templates");
    ASSERT_TRUE(QDir().mkpath(user));
    for (const bool withBasic : {false, true}) {
        if (withBasic) {
            WriteFile("data/mirval/templates/basic.mvt", "<html>\r\n");
        }
        ui.fileAnswers = {QString()};
        EXPECT_TRUE(Route(32774));
        EXPECT_EQ(ui.lastRequest->folder, user);
        ASSERT_FALSE(ui.lastRequest->places.isEmpty());
        EXPECT_EQ(ui.lastRequest->places.first(), user);
        EXPECT_EQ(ui.lastRequest->defaultName, withBasic ? QStringLiteral("basic.mvt") : QString());
    }
}

TEST_F(HebAppTest, RecentFilesKeepTheLastFourAndNeverThePreviewFile) {
    ASSERT_TRUE(app->InitInstance());
    app->AddToRecentFileList(Path("site/index_mirval.htm"));
    app->AddToRecentFileList(QStringLiteral("/tmp/_mirval.html/page.htm"));
    EXPECT_TRUE(app->RecentFiles().isEmpty());

    for (const char* name : {"a.htm", "b.htm", "c.htm", "d.htm", "e.htm"}) {
        app->AddToRecentFileList(Path(name));
    }
    app->AddToRecentFileList(Path("c.htm"));
    EXPECT_EQ(app->RecentFiles(),
              QStringList({Path("c.htm"), Path("e.htm"), Path("d.htm"), Path("b.htm")}));

    // Saved at once, and read back by the next start.
    const IniProfile profile = AppProfile::Read();
    EXPECT_EQ(profile.GetString("Recent File List", "File1", ""), scratch.File("c.htm"));
    EXPECT_EQ(profile.GetString("Recent File List", "File4", ""), scratch.File("b.htm"));
    app.reset();
    app = std::make_unique<CHebApp>();
    ui.app = app.get();
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(app->RecentFiles().size(), 4);
    EXPECT_EQ(app->RecentFiles().first(), Path("c.htm"));
}

// Whether, laid out right to left, "N path" shows the number at the right
// and the path's characters each right of the one before.
bool ReadsInOrderAfterNumber(const QString& text) {
    QTextLayout layout(text, QApplication::font());
    QTextOption option;
    option.setTextDirection(Qt::RightToLeft);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    // Each cursor position inside the path (after its first character,
    // before its last) lies right of the one before it; the number is right
    // of them all.
    int end = text.size() - 1;
    if (text.back() == QChar(0x2069)) {
        --end;
    }
    const int first = text.indexOf(QLatin1Char('/')) + 1;
    for (int i = first + 1; i <= end; ++i) {
        if (line.cursorToX(i) <= line.cursorToX(i - 1)) {
            return false;
        }
    }
    return line.cursorToX(0) > line.cursorToX(end);
}

TEST_F(HebAppTest, RecentFileItemsReplaceThePlaceholder) {
    ASSERT_TRUE(app->InitInstance());
    Frame()->UpdateCommandUI();
    QMenu* file = Frame()->MenuPopups(kEditorMenu).first();
    const auto visibleTexts = [file] {
        QStringList texts;
        for (QAction* action : file->actions()) {
            if (action->isVisible() && !action->isSeparator() && action->menu() == nullptr) {
                texts.append(action->text());
            }
        }
        return texts;
    };
    QAction* placeholder = nullptr;
    for (QAction* action : file->actions()) {
        if (action->text() == QStringLiteral("קובץ אחרון")) {
            EXPECT_EQ(placeholder, nullptr);
            placeholder = action;
        }
    }
    ASSERT_NE(placeholder, nullptr);
    EXPECT_TRUE(placeholder->isVisible());
    EXPECT_FALSE(placeholder->isEnabled());
    EXPECT_FALSE(Frame()->CommandAction(CommandId::FileMruFirst)->isVisible());

    const QString page = WriteFile("a&b.htm", "x\r\n");
    app->AddToRecentFileList(page);
    Frame()->UpdateCommandUI();
    EXPECT_FALSE(placeholder->isVisible());
    const QString item = QStringLiteral("&1 \u2066") + Path("a&&b.htm") + QChar(0x2069);
    EXPECT_TRUE(visibleTexts().contains(item));
    // Shown in the right-to-left menu, the path keeps its order; without
    // the isolate its leading slash would be shown at its end.
    EXPECT_TRUE(ReadsInOrderAfterNumber(QString(item).remove(0, 1)));
    EXPECT_FALSE(ReadsInOrderAfterNumber(QStringLiteral("1 ") + Path("a&b.htm")));
    EXPECT_TRUE(Frame()->CommandAction(CommandId::FileMruFirst)->isEnabled());
    EXPECT_EQ(Frame()->CommandAction(CommandId::FileMruFirst)->statusTip(),
              QStringLiteral("פתח מסמך זה"));
    EXPECT_FALSE(Frame()->CommandAction(CommandId::FileMruFirst + 1)->isVisible());

    EXPECT_TRUE(Route(CommandId::FileMruFirst));
    EXPECT_EQ(Frame()->GetActiveDocument()->GetPathName(), page);
}

TEST_F(HebAppTest, RecentFileThatNoLongerOpensLeavesTheList) {
    ASSERT_TRUE(app->InitInstance());
    const QString kept = WriteFile("kept.htm", "x\r\n");
    app->AddToRecentFileList(Path("gone.htm"));
    app->AddToRecentFileList(kept);
    EXPECT_TRUE(Route(CommandId::FileMruFirst + 1));  // the second item: gone.htm
    EXPECT_FALSE(ui.messages.isEmpty());
    EXPECT_EQ(app->RecentFiles(), QStringList({kept}));
    EXPECT_EQ(AppProfile::Read().GetString("Recent File List", "File2", "?"), "");
}

TEST_F(HebAppTest, BrowseAddressOpensATitledPreviewDocument) {
    ASSERT_TRUE(app->InitInstance());
    const QString address = QStringLiteral("http://mirval.example/");
    auto* web = qobject_cast<CBrowseDoc*>(
        app->BrowseAddress(address, QStringLiteral("Home Page - ") + address));
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->GetTitle(), QStringLiteral("Browsing: Home Page - http://mirval.example/"));
    EXPECT_TRUE(web->GetPathName().isEmpty());
    EXPECT_EQ(web->GetSourceDoc(), nullptr);
    EXPECT_EQ(web->GetAddress(), address);
    auto* view = dynamic_cast<CBrowseView*>(web->GetFirstView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->ShownAddress(), address);

    const QString help = WriteFile("h_mirval.htm", "<html></html>");
    CDocument* page = app->BrowseAddress(help, QStringLiteral("Help"));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetDocTemplate(), Preview());
    EXPECT_EQ(page->GetTitle(), QStringLiteral("Browsing: Help"));
    EXPECT_EQ(page->GetPathName(), help);
    EXPECT_EQ(Preview()->Documents().size(), 2);
    // Preview documents are not editor documents.
    EXPECT_EQ(Editor()->Documents().size(), 1);
}

// A page of 1 MiB or more opened into a shown window gets its text only once
// the window is in place. It opens as the same file read straight into a
// document does: the same bytes back, encoding, byte order mark, line ends and
// order found, unmodified with nothing to undo, with the caret and the view at
// the start and the scroll bar as it would be. A window opened hidden reads
// the text at once.
TEST_F(HebAppTest, LargePagesOpenIntoTheirWindowAsAnyOther) {
    enum class Open { AtStart, FromMenu, Hidden };
    struct Case {
        Open open;
        std::string line;
        std::string bom;
    };
    // Visual Hebrew in code page 1255 with LF; logical Hebrew in UTF-8 with
    // CR LF and a byte order mark.
    const Case cases[] = {
        {Open::AtStart, "<p>\xED\xE5\xEC\xF9 \xEF\xE8\xF7 \xE4\xEE\xE5\xE9 x</p>\n", ""},
        {Open::FromMenu,
         "<p>\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA7\xD7\x98\xD7\x9F x\xC2\xA0y</p>\r\n",
         "\xEF\xBB\xBF"},
        {Open::Hidden, "<b>long enough</b>\r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.open));
        TearDown();
        SetUp();
        std::string bytes = c.bom;
        while (bytes.size() < (size_t{1} << 20) + 100) {
            bytes += c.line;
        }
        const QString file = WriteFile("large.htm", bytes);
        CHebDoc* doc = nullptr;
        if (c.open == Open::AtStart) {
            ASSERT_TRUE(app->InitInstance(file));
            doc = ActiveHebDoc();
        } else {
            ASSERT_TRUE(app->InitInstance());
            doc = qobject_cast<CHebDoc*>(Editor()->OpenDocumentFile(file, c.open != Open::Hidden));
            ASSERT_NE(doc, nullptr);
            EXPECT_EQ(doc->HasPendingText(), false);
        }
        ASSERT_NE(doc, nullptr);
        Settle();
        CHebDoc reference;
        ASSERT_TRUE(reference.OnOpenDocument(file));
        EXPECT_EQ(doc->GetFileBytes(), bytes);
        EXPECT_EQ(doc->GetText(), reference.GetText());
        EXPECT_EQ(doc->GetEncoding(), reference.GetEncoding());
        EXPECT_EQ(doc->HasByteOrderMark(), reference.HasByteOrderMark());
        EXPECT_EQ(doc->GetLineEnds(), reference.GetLineEnds());
        EXPECT_EQ(doc->GetOrderEvidence(), reference.GetOrderEvidence());
        EXPECT_FALSE(doc->IsModified());
        EXPECT_FALSE(doc->GetTitle().contains(u'*'));
        EXPECT_FALSE(doc->TextDocument()->isUndoAvailable());
        auto* view = dynamic_cast<CHebView*>(doc->GetFirstView());
        ASSERT_NE(view, nullptr);
        long start = -1;
        long end = -1;
        view->GetSel(start, end);
        EXPECT_EQ(end, 0);
        EXPECT_EQ(view->GetFirstVisibleLine(), 0);
        EXPECT_EQ(view->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        EXPECT_EQ(view->verticalScrollBar()->isVisible(), c.open != Open::Hidden);
    }
}

}  // namespace
