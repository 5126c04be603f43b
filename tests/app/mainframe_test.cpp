// The main window: menus for the active window's kind, the toolbar, the
// status bar, the command route and its update pass, drops, the window
// commands and printing.
#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <set>

#include "app/childframe.h"
#include "app/commandtable.h"
#include "appfixture.h"
#include "browse/browsedoc.h"
#include "document/hebdoc.h"
#include "framework/view.h"

namespace {

QStringList MenuBarTitles(CMainFrame* frame) {
    QStringList titles;
    for (QAction* action : frame->menuBar()->actions()) {
        titles.append(action->text());
    }
    return titles;
}

// A drop the way the application delivers one: entering first, so that the
// widget that takes the drag becomes the drop's target.
bool Drop(QWidget* target, const QMimeData& data) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

class MainFrameTest : public AppTest {};

TEST_F(MainFrameTest, MenuBarFollowsTheActiveWindowsKind) {
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(Frame()->CurrentMenu(), kEditorMenu);
    EXPECT_EQ(MenuBarTitles(Frame()), QStringList({"&קובץ", "&עריכה", "&תצוגה", "&המרה...",
                                                   "&עיצוב", "הו&ספה", "&חלון", "ע&זרה"}));
    EXPECT_EQ(Frame()->CommandAction(CommandId::FileNew)->text(),
              QStringLiteral("&מסמך חדש\tCtrl+N"));

    app->BrowseAddress(QStringLiteral("http://example.org/"), QStringLiteral("Home"));
    Settle();
    EXPECT_EQ(Frame()->CurrentMenu(), kPreviewMenu);
    EXPECT_EQ(MenuBarTitles(Frame()), QStringList({"&קובץ", "&תצוגה", "&חלון", "ע&זרה"}));
    EXPECT_EQ(Frame()->CommandAction(CommandId::FileNew)->text(), QStringLiteral("&חדש\tCtrl+N"));

    // Back to the editor window, then no window at all.
    Frame()->MdiArea()->setActiveSubWindow(Frame()->ChildFrames().first());
    Settle();
    EXPECT_EQ(Frame()->CurrentMenu(), kEditorMenu);
    app->CloseAllDocuments();
    Settle();
    EXPECT_EQ(Frame()->CurrentMenu(), kMainMenu);
    EXPECT_EQ(MenuBarTitles(Frame()), QStringList({"&קובץ", "&תצוגה", "ע&זרה"}));
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("MIRVAL"));
}

TEST_F(MainFrameTest, EditorFileMenuCarriesPrintSetupAndPreviewAfterPrint) {
    ASSERT_TRUE(app->InitInstance());
    const QList<QMenu*> popups = Frame()->MenuPopups(kEditorMenu);
    ASSERT_EQ(popups.size(), 8);
    QStringList items;
    for (QAction* action : popups.first()->actions()) {
        items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    const qsizetype print = items.indexOf(QStringLiteral("&הדפסה...\tCtrl+P"));
    ASSERT_GE(print, 0);
    EXPECT_EQ(items.mid(print, 4),
              QStringList({"&הדפסה...\tCtrl+P", "הצג &לפני הדפסה", "ה&גדרת הדפסה...", "-"}));
}

TEST_F(MainFrameTest, ToolbarButtonsInOrderWithTheirTips) {
    ASSERT_TRUE(app->InitInstance());
    using namespace CommandId;
    std::vector<int> shape;  // 0 for a separator
    for (QAction* action : Frame()->ToolBar()->actions()) {
        if (action->isSeparator()) {
            shape.push_back(0);
            continue;
        }
        for (const CommandInfo& info : CommandTable()) {
            if (Frame()->CommandAction(info.id) == action) {
                shape.push_back(info.id);
            }
        }
    }
    // clang-format off
    EXPECT_EQ(shape, (std::vector<int>{
        FileNew, FileNewFromTemplate, FileOpen, FileSave, 0,
        Browse, 0,
        RefreshSyntax, 0,
        EditCut, EditCopy, EditPaste, PasteVisual, 0,
        ConvertToVisual, ConvertToLogical, 0,
        Bold, Italic, Underline, FontTag, Link, 0,
        AlignLeft, AlignCenter, AlignRight, 0,
        FilePrint, HelpFile}));
    // clang-format on
    // Square theme icons, drawn from their vector form at each scale.
    EXPECT_EQ(Frame()->ToolBar()->iconSize(), QSize(16, 16));
    QAction* save = Frame()->CommandAction(CommandId::FileSave);
    EXPECT_EQ(save->toolTip(), QStringLiteral("שמור"));
    EXPECT_EQ(save->statusTip(), QStringLiteral("שמירת מסמך פעיל"));
    EXPECT_FALSE(save->icon().isNull());
}

TEST_F(MainFrameTest, StatusBarShowsIdleTextAndTheLineIndicator) {
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(Frame()->MessagePane()->text(), QStringLiteral("מוכן"));
    // The active editor view fills the line indicator.
    Frame()->UpdateCommandUI();
    EXPECT_EQ(Frame()->LinePane()->text(), QStringLiteral("Ln 1/1"));
    EXPECT_GE(Frame()->LinePane()->minimumWidth(),
              Frame()->LinePane()->fontMetrics().horizontalAdvance(QString(21, QLatin1Char(' '))));
}

// A document and a view that handle chosen commands and log who ran them.
struct RouteLog {
    std::set<int> byView;
    std::set<int> byDocument;
    QStringList calls;
};

class LoggingDoc : public CDocument {
public:
    explicit LoggingDoc(RouteLog* log) : m_log(log) {}
    bool OnCmdMsg(int id) override {
        if (m_log->byDocument.count(id) != 0) {
            m_log->calls.append(QStringLiteral("document"));
            return true;
        }
        return CDocument::OnCmdMsg(id);
    }
    bool OnUpdateCmdMsg(CCmdUI& ui) override {
        if (m_log->byDocument.count(ui.ID()) != 0) {
            ui.Enable(true);
            return true;
        }
        return CDocument::OnUpdateCmdMsg(ui);
    }

private:
    RouteLog* m_log;
};

class LoggingView : public QPlainTextEdit, public CView {
public:
    LoggingView(CDocument* document, RouteLog* log) : CView(document), m_log(log) {}
    QWidget* Widget() override { return this; }
    bool OnCmdMsg(int id) override {
        if (m_log->byView.count(id) != 0) {
            m_log->calls.append(QStringLiteral("view"));
            return true;
        }
        return false;
    }
    bool OnUpdateCmdMsg(CCmdUI& ui) override {
        if (m_log->byView.count(ui.ID()) != 0) {
            ui.Enable(true);
            return true;
        }
        return false;
    }
    void OnActivateView(bool activate) override {
        m_log->calls.append(activate ? QStringLiteral("activated") : QStringLiteral("deactivated"));
    }

private:
    RouteLog* m_log;
};

class RouteTest : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        ASSERT_TRUE(app->InitInstance());
        fake = std::make_unique<CDocTemplate>(
            kEditorMenu, QStringLiteral("FAKE"), [this] { return new LoggingDoc(&log); },
            [this](CDocument* document) { return new LoggingView(document, &log); });
        document = fake->OpenDocumentFile(QString());
        Settle();
        log.calls.clear();
    }
    void TearDown() override {
        if (!fake->Documents().isEmpty()) {
            fake->Documents().first()->OnCloseDocument();
        }
        Settle();
        MainFrameTest::TearDown();
        fake.reset();
    }
    RouteLog log;
    std::unique_ptr<CDocTemplate> fake;
    CDocument* document = nullptr;
};

TEST_F(RouteTest, ViewComesBeforeItsDocument) {
    ASSERT_EQ(Frame()->GetActiveDocument(), document);
    log.byView = {CommandId::EditUndo};
    log.byDocument = {CommandId::EditUndo, CommandId::EditSelectAll};
    EXPECT_TRUE(Frame()->Route(CommandId::EditUndo));
    EXPECT_TRUE(Frame()->Route(CommandId::EditSelectAll));
    EXPECT_EQ(log.calls, QStringList({"view", "document"}));
}

TEST_F(RouteTest, UnclaimedCommandsAreDisabled) {
    Frame()->UpdateCommandUI();
    // Nobody handles undo here.
    EXPECT_FALSE(Frame()->CommandAction(CommandId::EditUndo)->isEnabled());
    EXPECT_FALSE(Frame()->Route(CommandId::EditUndo));
    EXPECT_TRUE(log.calls.isEmpty());
    // The document, the main frame and the application claim theirs.
    EXPECT_TRUE(Frame()->CommandAction(CommandId::FileSave)->isEnabled());
    EXPECT_TRUE(Frame()->CommandAction(CommandId::WindowCascade)->isEnabled());
    EXPECT_TRUE(Frame()->CommandAction(CommandId::FileNew)->isEnabled());
    // One view per window: no other pane to move to.
    EXPECT_FALSE(Frame()->CommandAction(CommandId::NextPane)->isEnabled());
    EXPECT_FALSE(Frame()->CommandAction(CommandId::PrevPane)->isEnabled());
    EXPECT_EQ(Frame()->CommandAction(CommandId::NextPane)->shortcut(), QKeySequence(Qt::Key_F6));
}

TEST_F(RouteTest, CommandsReachTheApplicationLast) {
    const int before = static_cast<int>(Editor()->Documents().size());
    EXPECT_TRUE(Route(CommandId::FileNew));
    EXPECT_EQ(Editor()->Documents().size(), before + 1);
    EXPECT_EQ(Frame()->GetActiveDocument()->GetTitle(), QStringLiteral("MIRVAL2"));
}

TEST_F(RouteTest, ActivationReachesTheView) {
    QMdiSubWindow* fakeWindow = Frame()->MDIGetActive();
    Frame()->MdiArea()->setActiveSubWindow(Frame()->ChildFrames().first());
    Frame()->MdiArea()->setActiveSubWindow(fakeWindow);
    EXPECT_EQ(log.calls, QStringList({"deactivated", "activated"}));
}

TEST_F(RouteTest, CommandKeysGoToTheirCommandsNotToTheEditor) {
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    auto* editor = qobject_cast<QPlainTextEdit*>(Frame()->GetActiveView()->Widget());
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("abc"));
    log.byView = {CommandId::EditSelectAll};
    Settle();

    // Ctrl+A runs select all through the route, not the editor's own.
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(log.calls, QStringList({"view"}));
    EXPECT_FALSE(editor->textCursor().hasSelection());
    // Nobody handles undo here: Ctrl+Z does nothing, the editor's own undo
    // included.
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("abc"));
}

TEST_F(MainFrameTest, KeysRunTheirCommands) {
    ASSERT_TRUE(app->InitInstance());
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    QTest::keyClick(Frame(), Qt::Key_N, Qt::ControlModifier);
    Settle();
    ASSERT_EQ(Editor()->Documents().size(), 2);
    EXPECT_EQ(Frame()->GetActiveDocument()->GetTitle(), QStringLiteral("MIRVAL2"));

    // In the editor, Alt+Backspace is undo.
    auto* editor = qobject_cast<QPlainTextEdit*>(Frame()->GetActiveView()->Widget());
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("ab cd"));
    Settle();
    ASSERT_EQ(editor->toPlainText(), QStringLiteral("ab cd"));
    QTest::keyClick(editor, Qt::Key_Backspace, Qt::AltModifier);
    Settle();
    EXPECT_EQ(editor->toPlainText(), QString());
    // Ctrl+B puts the bold tags around the (empty) selection.
    QTest::keyClicks(editor, QStringLiteral("x"));
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("x<b></b>"));
    // The key of a command that is not available does nothing, in the editor
    // as well: Ctrl+T pastes a table, and the clipboard holds no text.
    QGuiApplication::clipboard()->clear();
    Settle();
    QTest::keyClick(editor, Qt::Key_T, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("x<b></b>"));
}

TEST_F(MainFrameTest, ToolbarAndStatusBarToggleWithCheckMarks) {
    ASSERT_TRUE(app->InitInstance());
    Frame()->UpdateCommandUI();
    QAction* toolbar = Frame()->CommandAction(CommandId::ViewToolbar);
    QAction* status = Frame()->CommandAction(CommandId::ViewStatusBar);
    EXPECT_TRUE(toolbar->isChecked());
    EXPECT_TRUE(status->isChecked());

    EXPECT_TRUE(Route(CommandId::ViewToolbar));
    EXPECT_TRUE(Route(CommandId::ViewStatusBar));
    Frame()->UpdateCommandUI();
    EXPECT_TRUE(Frame()->ToolBar()->isHidden());
    EXPECT_TRUE(Frame()->statusBar()->isHidden());
    EXPECT_FALSE(toolbar->isChecked());
    EXPECT_FALSE(status->isChecked());

    EXPECT_TRUE(Route(CommandId::ViewToolbar));
    Frame()->UpdateCommandUI();
    EXPECT_FALSE(Frame()->ToolBar()->isHidden());
    EXPECT_TRUE(toolbar->isChecked());
}

TEST_F(MainFrameTest, DroppingFilesOpensOnlyTheFirst) {
    ASSERT_TRUE(app->InitInstance());
    const QString first = WriteFile("first.htm", "one\r\n");
    const QString second = WriteFile("second.htm", "two\r\n");
    const QString third = WriteFile("third.txt", "three\r\n");
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(first), QUrl::fromLocalFile(second), QUrl::fromLocalFile(third)});
    EXPECT_TRUE(Drop(Frame(), data));
    Settle();

    ASSERT_EQ(Editor()->Documents().size(), 2);
    EXPECT_EQ(Editor()->Documents().last()->GetPathName(), first);
    EXPECT_EQ(Frame()->GetActiveDocument()->GetPathName(), first);
}

TEST_F(MainFrameTest, FileDroppedOnAnEditorOpensInsteadOfBeingInserted) {
    ASSERT_TRUE(app->InitInstance());
    auto* editor = qobject_cast<QPlainTextEdit*>(Frame()->GetActiveView()->Widget());
    ASSERT_NE(editor, nullptr);
    const QString file = WriteFile("dropped.htm", "page\r\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    EXPECT_TRUE(Drop(editor->viewport(), data));
    Settle();
    EXPECT_TRUE(editor->toPlainText().isEmpty());
    EXPECT_EQ(Frame()->GetActiveDocument()->GetPathName(), file);

    // Text that is not a file is the editor's to take.
    QMimeData text;
    text.setText(QStringLiteral("abc"));
    EXPECT_FALSE(Frame()->OpenDroppedData(&text));
}

TEST_F(MainFrameTest, NewWindowShowsTheSameDocumentWithNumberedTitles) {
    ASSERT_TRUE(app->InitInstance());
    CDocument* document = Frame()->GetActiveDocument();
    EXPECT_TRUE(Route(CommandId::WindowNew));
    const QList<CChildFrame*> frames = Frame()->ChildFrames();
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(frames[0]->GetDocument(), document);
    EXPECT_EQ(frames[1]->GetDocument(), document);
    EXPECT_EQ(frames[0]->windowTitle(), QStringLiteral("MIRVAL1:1"));
    EXPECT_EQ(frames[1]->windowTitle(), QStringLiteral("MIRVAL1:2"));
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("MIRVAL - MIRVAL1"));

    // Closing one of two windows asks nothing and keeps the document.
    document->SetDocModified(true);
    frames[1]->close();
    Settle();
    EXPECT_TRUE(ui.saveQuestions.isEmpty());
    ASSERT_EQ(Frame()->ChildFrames().size(), 1);
    Frame()->UpdateCommandUI();
    EXPECT_EQ(Frame()->ChildFrames()[0]->windowTitle(), QStringLiteral("MIRVAL1"));
    EXPECT_EQ(Editor()->Documents().size(), 1);
}

TEST_F(MainFrameTest, ClosingTheLastWindowAsksAboutAModifiedDocument) {
    ASSERT_TRUE(app->InitInstance());
    CDocument* document = Frame()->GetActiveDocument();
    document->SetDocModified(true);
    CChildFrame* window = Frame()->MDIGetActive();

    ui.saveAnswer = SaveChangesAnswer::Cancel;
    window->close();
    Settle();
    EXPECT_EQ(ui.saveQuestions, QStringList({"MIRVAL1"}));
    EXPECT_EQ(Frame()->ChildFrames().size(), 1);
    EXPECT_FALSE(document->IsClosing());

    ui.saveAnswer = SaveChangesAnswer::Discard;
    window->close();
    Settle();
    EXPECT_TRUE(Frame()->ChildFrames().isEmpty());
    EXPECT_TRUE(Editor()->Documents().isEmpty());
}

TEST_F(MainFrameTest, ArrangeLinesMinimisedWindowsUpAlongTheBottom) {
    ASSERT_TRUE(app->InitInstance());
    Route(CommandId::FileNew);
    Route(CommandId::FileNew);
    const QList<CChildFrame*> frames = Frame()->ChildFrames();
    ASSERT_EQ(frames.size(), 3);
    frames[0]->showMinimized();
    frames[2]->showMinimized();
    frames[0]->move(40, 30);
    frames[2]->move(10, 60);
    EXPECT_TRUE(Route(CommandId::WindowArrange));

    const int bottom = Frame()->MdiArea()->viewport()->height();
    const int right = Frame()->MdiArea()->viewport()->width();
    EXPECT_EQ(frames[0]->geometry().bottom() + 1, bottom);
    EXPECT_EQ(frames[2]->geometry().bottom() + 1, bottom);
    // Right to left: the first starts at the right edge, the next beside it.
    EXPECT_EQ(frames[0]->geometry().right() + 1, right);
    EXPECT_EQ(frames[2]->geometry().right() + 1, frames[0]->geometry().left());
    // A window that is not minimised stays where it is.
    EXPECT_FALSE(frames[1]->isMinimized());
}

TEST_F(MainFrameTest, PrintsTheActiveEditorWithHalfInchMargins) {
    ASSERT_TRUE(app->InitInstance());
    const QMarginsF margins = app->Printer()->pageLayout().margins(QPageLayout::Millimeter);
    EXPECT_NEAR(margins.left(), 12.7, 0.01);
    EXPECT_NEAR(margins.top(), 12.7, 0.01);
    EXPECT_NEAR(margins.right(), 12.7, 0.01);
    EXPECT_NEAR(margins.bottom(), 12.7, 0.01);

    Frame()->UpdateCommandUI();
    EXPECT_TRUE(Frame()->CommandAction(CommandId::FilePrint)->isEnabled());
    EXPECT_TRUE(Frame()->CommandAction(CommandId::FilePrintPreview)->isEnabled());
    EXPECT_TRUE(Frame()->CommandAction(CommandId::FilePrintSetup)->isEnabled());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Path("out.pdf"));
    ASSERT_TRUE(Frame()->PrintActiveView(&printer));
    QFile pdf(Path("out.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));

    // A preview window is not printed as text.
    app->BrowseAddress(QStringLiteral("http://example.org/"), QStringLiteral("x"));
    Settle();
    Frame()->UpdateCommandUI();
    EXPECT_FALSE(Frame()->CommandAction(CommandId::FilePrint)->isEnabled());
    EXPECT_FALSE(Frame()->PrintActiveView(&printer));
}

TEST_F(MainFrameTest, ExitAsksEveryModifiedDocumentAndStopsOnCancel) {
    ASSERT_TRUE(app->InitInstance());
    CDocument* first = Frame()->GetActiveDocument();
    Route(CommandId::FileNew);
    CDocument* second = Frame()->GetActiveDocument();
    first->SetDocModified(true);
    second->SetDocModified(true);

    ui.saveAnswer = SaveChangesAnswer::Cancel;
    EXPECT_TRUE(Route(CommandId::AppExit));
    EXPECT_EQ(ui.saveQuestions, QStringList({"MIRVAL1"}));
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Editor()->Documents().size(), 2);

    ui.saveQuestions.clear();
    ui.saveAnswer = SaveChangesAnswer::Discard;
    EXPECT_TRUE(Route(CommandId::AppExit));
    EXPECT_EQ(ui.saveQuestions, QStringList({"MIRVAL1", "MIRVAL2"}));
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_TRUE(Editor()->Documents().isEmpty());
}

}  // namespace
