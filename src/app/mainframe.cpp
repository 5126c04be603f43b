#include "app/mainframe.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/childframe.h"
#include "app/commandicons.h"
#include "app/commandtable.h"
#include "app/hebapp.h"
#include "framework/document.h"
#include "framework/idleupdater.h"
#include "framework/uiservices.h"
#include "framework/view.h"

namespace {

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.append(url.toLocalFile());
        }
    }
    return files;
}

bool IsDragEvent(QEvent::Type type) {
    return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
}

}  // namespace

std::span<const MessageEntry<CMainFrame>> CMainFrame::MessageMap() {
    static const MessageEntry<CMainFrame> map[] = {
        {CommandId::WindowNew, &CMainFrame::OnWindowNew, &CMainFrame::OnUpdateMDIWindowCmd},
        {CommandId::WindowCascade, &CMainFrame::OnWindowCascade, &CMainFrame::OnUpdateMDIWindowCmd},
        {CommandId::WindowTile, &CMainFrame::OnWindowTile, &CMainFrame::OnUpdateMDIWindowCmd},
        {CommandId::WindowArrange, &CMainFrame::OnWindowArrange, &CMainFrame::OnUpdateMDIWindowCmd},
        {CommandId::ViewToolbar, &CMainFrame::OnViewToolbar, &CMainFrame::OnUpdateViewToolbar},
        {CommandId::ViewStatusBar, &CMainFrame::OnViewStatusBar,
         &CMainFrame::OnUpdateViewStatusBar},
        {CommandId::FilePrint, &CMainFrame::OnFilePrint, &CMainFrame::OnUpdateFilePrint},
        {CommandId::FilePrintPreview, &CMainFrame::OnFilePrintPreview,
         &CMainFrame::OnUpdateFilePrint},
        {CommandId::NextPane, nullptr, &CMainFrame::OnUpdateNextPane},
        {CommandId::PrevPane, nullptr, &CMainFrame::OnUpdateNextPane},
    };
    return map;
}

CMainFrame::CMainFrame(CHebApp* app, QWidget* parent)
    : QMainWindow(parent),
      m_pApp(app),
      m_pMdiArea(new QMdiArea(this)),
      m_pIdle(new IdleUpdater(this)) {
    setWindowIcon(CommandIcons::Application());
    setCentralWidget(m_pMdiArea);
    setAcceptDrops(true);
    setDockNestingEnabled(true);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        resize(screen->availableSize() * 4 / 5);
    }

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    m_pIdle->AddPass([this] { UpdateCommandUI(); });
    qApp->installEventFilter(m_pIdle);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) {
        UpdateFrameState();
        m_pIdle->Schedule();
        ScheduleFileCheck();
    });
    if (m_pApp != nullptr) {
        connect(m_pApp, &CHebApp::RecentFilesChanged, this, &CMainFrame::RefreshRecentFiles);
    }
    RefreshRecentFiles();
    UpdateCommandUI();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(m_pIdle);
}

// ---------------------------------------------------------------------------
// Actions, menus, toolbar, status bar

void CMainFrame::CreateActions() {
    for (const CommandInfo& info : CommandTable()) {
        const int id = info.id;
        if (id == CommandId::LineIndicator) {
            continue;  // a status-bar pane, not a command
        }
        // The first recent file's item gets its text from the list.
        auto* action =
            new QAction(id == CommandId::FileMruFirst ? QString() : info.MenuText(), this);
        action->setShortcuts(info.Keys());
        action->setStatusTip(info.StatusText());
        action->setToolTip(info.ToolTip());
        action->setIcon(CommandIcons::ForCommand(info.id));
        connect(action, &QAction::triggered, this, [this, id] { Route(id); });
        addAction(action);  // its keys work whatever menu is shown
        m_actions[id] = action;
    }
    // The recent files beyond the first share its prompt.
    const CommandInfo* recent = FindCommand(CommandId::FileMruFirst);
    for (int id = CommandId::FileMruFirst + 1; id <= CommandId::FileMruLast; ++id) {
        auto* action = new QAction(this);
        action->setStatusTip(recent->StatusText());
        connect(action, &QAction::triggered, this, [this, id] { Route(id); });
        m_actions[id] = action;
    }
    // Shown in place of the recent files while there are none.
    m_pRecentPlaceholder = new QAction(recent->MenuText(), this);
    m_pRecentPlaceholder->setStatusTip(recent->StatusText());
    m_pRecentPlaceholder->setEnabled(false);
}

QMenu* CMainFrame::BuildPopup(const MenuEntry& popup, int resourceId) {
    auto* menu = new QMenu(popup.text, this);
    connect(menu, &QMenu::aboutToShow, m_pIdle, &IdleUpdater::RunNow);
    for (const MenuEntry& entry : popup.entries) {
        switch (entry.kind) {
            case MenuEntry::Kind::Separator:
                menu->addSeparator();
                break;
            case MenuEntry::Kind::Popup:
                menu->addMenu(BuildPopup(entry, resourceId));
                break;
            case MenuEntry::Kind::Command:
                if (entry.id == CommandId::FileMruFirst) {
                    menu->addAction(m_pRecentPlaceholder);
                    for (int id = CommandId::FileMruFirst; id <= CommandId::FileMruLast; ++id) {
                        menu->addAction(m_actions.at(id));
                    }
                } else if (QAction* action = CommandAction(entry.id)) {
                    menu->addAction(action);
                    m_menuTexts[resourceId].emplace_back(action, entry.text);
                }
                break;
        }
    }
    return menu;
}

void CMainFrame::CreateMenus() {
    for (int resourceId : {kMainMenu, kEditorMenu, kPreviewMenu}) {
        for (const MenuEntry& popup : MenuResource(resourceId)) {
            m_menus[resourceId].append(BuildPopup(popup, resourceId));
        }
    }
    ShowMenu(kMainMenu);
}

void CMainFrame::ShowMenu(int resourceId) {
    if (resourceId == m_nCurrentMenu) {
        return;
    }
    m_nCurrentMenu = resourceId;
    menuBar()->clear();
    for (QMenu* popup : m_menus[resourceId]) {
        menuBar()->addMenu(popup);
    }
    for (const auto& [action, text] : m_menuTexts[resourceId]) {
        action->setText(text);
    }
}

QList<QMenu*> CMainFrame::MenuPopups(int resourceId) const {
    const auto found = m_menus.find(resourceId);
    return found == m_menus.end() ? QList<QMenu*>() : found->second;
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = new QToolBar(tr("סרגל כלים"), this);
    m_pToolBar->setObjectName(QStringLiteral("ToolBar"));
    m_pToolBar->setIconSize(QSize(CommandIcons::kButtonWidth, CommandIcons::kButtonHeight));
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : ToolbarButtons()) {
        if (id == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* action = m_actions.at(id);
        m_pToolBar->addAction(action);
        if (action->toolTip().isEmpty() || FindCommand(id)->ToolTip().isEmpty()) {
            // Qt would make a tooltip of the menu text; this button has none.
            QWidget* button = m_pToolBar->widgetForAction(action);
            m_buttonsWithoutTip.insert(button);
            button->installEventFilter(this);
        }
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
}

void CMainFrame::CreateStatusBar() {
    // The message pane shows the idle text; command prompts cover it while
    // the pointer is on a menu item or a button.
    m_pMessagePane = new QLabel(tr("מוכן"), this);
    statusBar()->addWidget(m_pMessagePane, 1);
    // The line indicator is as wide as its prompt, 21 blanks.
    m_pLinePane = new QLabel(this);
    m_pLinePane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pLinePane->setAlignment(Qt::AlignCenter);
    m_pLinePane->setMinimumWidth(m_pLinePane->fontMetrics().horizontalAdvance(
                                     FindCommand(CommandId::LineIndicator)->Prompt()) +
                                 2 * m_pLinePane->frameWidth() + 4);
    statusBar()->addPermanentWidget(m_pLinePane);
    // No Caps Lock, Num Lock or Scroll Lock indicators: Qt does not report
    // the state of the lock keys, so such panes could not be kept right.
}

QAction* CMainFrame::CommandAction(int id) const {
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void CMainFrame::RefreshRecentFiles() {
    const QStringList paths = m_pApp != nullptr ? m_pApp->RecentFiles() : QStringList();
    m_pRecentPlaceholder->setVisible(paths.isEmpty());
    for (int i = 0; i <= CommandId::FileMruLast - CommandId::FileMruFirst; ++i) {
        QAction* action = m_actions.at(CommandId::FileMruFirst + i);
        if (i < paths.size()) {
            QString path = QDir::toNativeSeparators(paths[i]);
            path.replace(QLatin1Char('&'), QStringLiteral("&&"));
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
    m_pIdle->Schedule();
}

// ---------------------------------------------------------------------------
// Document windows

void CMainFrame::AddFrame(CDocTemplate* docTemplate, CView* view, bool visible) {
    auto* frame = new CChildFrame(docTemplate, view);
    m_pMdiArea->addSubWindow(frame);
    WatchView(view->Widget());
    if (CDocument* document = view->GetDocument()) {
        connect(document, &CDocument::FileChangedOnDisk, this, &CMainFrame::ScheduleFileCheck,
                Qt::UniqueConnection);
    }
    connect(frame, &QObject::destroyed, m_pIdle, &IdleUpdater::Schedule);
    if (visible) {
        const QSize area = m_pMdiArea->isVisible() ? m_pMdiArea->size() : size();
        frame->resize(area * 2 / 3);
        frame->show();
        m_pMdiArea->setActiveSubWindow(frame);
        view->Widget()->setFocus();
    }
    UpdateFrameState();
    m_pIdle->Schedule();
}

void CMainFrame::WatchView(QWidget* widget) {
    widget->installEventFilter(this);
    if (auto* editor = qobject_cast<QPlainTextEdit*>(widget)) {
        editor->viewport()->installEventFilter(this);
        connect(editor, &QPlainTextEdit::textChanged, m_pIdle, &IdleUpdater::Schedule);
        connect(editor, &QPlainTextEdit::selectionChanged, m_pIdle, &IdleUpdater::Schedule);
        connect(editor, &QPlainTextEdit::cursorPositionChanged, m_pIdle, &IdleUpdater::Schedule);
    }
}

void CMainFrame::ActivateDocument(CDocument* document) {
    for (CChildFrame* frame : ChildFrames()) {
        if (frame->GetDocument() == document) {
            if (frame->isMinimized()) {
                frame->showNormal();
            }
            m_pMdiArea->setActiveSubWindow(frame);
            return;
        }
    }
}

void CMainFrame::CloseFrame(CView* view) {
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList()) {
        auto* frame = qobject_cast<CChildFrame*>(window);
        if (frame != nullptr && frame->GetView() == view) {
            frame->CloseForDocument();
            return;
        }
    }
}

QList<CChildFrame*> CMainFrame::ChildFrames() const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList(QMdiArea::CreationOrder)) {
        auto* frame = qobject_cast<CChildFrame*>(window);
        if (frame != nullptr && !frame->IsClosing()) {
            frames.append(frame);
        }
    }
    return frames;
}

CChildFrame* CMainFrame::MDIGetActive() const {
    // The current window stays current while another top-level window (a
    // dialog) is active.
    auto* frame = qobject_cast<CChildFrame*>(m_pMdiArea->currentSubWindow());
    return frame != nullptr && !frame->IsClosing() ? frame : nullptr;
}

CView* CMainFrame::GetActiveView() const {
    CChildFrame* frame = MDIGetActive();
    return frame != nullptr ? frame->GetView() : nullptr;
}

CDocument* CMainFrame::GetActiveDocument() const {
    CView* view = GetActiveView();
    return view != nullptr ? view->GetDocument() : nullptr;
}

QPlainTextEdit* CMainFrame::ActiveEditor() const {
    CView* view = GetActiveView();
    return view != nullptr ? qobject_cast<QPlainTextEdit*>(view->Widget()) : nullptr;
}

void CMainFrame::UpdateFrameState() {
    CChildFrame* active = MDIGetActive();
    ShowMenu(active != nullptr ? active->MenuResource() : kMainMenu);
    for (CChildFrame* frame : ChildFrames()) {
        frame->UpdateTitle();
    }
    QString title = CHebApp::AppTitle();
    if (CDocument* document = GetActiveDocument()) {
        title += QStringLiteral(" - ") + document->GetTitle();
    }
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
}

// ---------------------------------------------------------------------------
// Routing and idle update

std::vector<CCmdTarget*> CMainFrame::RouteTargets() {
    std::vector<CCmdTarget*> targets;
    if (CChildFrame* frame = MDIGetActive()) {
        if (CView* view = frame->GetView()) {
            targets.push_back(view);
            if (CDocument* document = view->GetDocument()) {
                targets.push_back(document);
            }
        }
        targets.push_back(frame);
    }
    targets.push_back(this);
    if (m_pApp != nullptr) {
        targets.push_back(m_pApp);
    }
    return targets;
}

CCmdUI CMainFrame::QueryCommandState(int id) {
    CCmdUI ui(id);
    for (CCmdTarget* target : RouteTargets()) {
        if (target->OnUpdateCmdMsg(ui)) {
            return ui;
        }
    }
    ui.Enable(false);
    return ui;
}

bool CMainFrame::Route(int id) {
    // A key may arrive for a command that has become unavailable since the
    // last idle pass.
    if (!QueryCommandState(id).IsEnabled()) {
        return false;
    }
    for (CCmdTarget* target : RouteTargets()) {
        if (target->OnCmdMsg(id)) {
            m_pIdle->Schedule();
            return true;
        }
    }
    return false;
}

void CMainFrame::UpdateCommandUI() {
    UpdateFrameState();
    for (const auto& [id, action] : m_actions) {
        const CCmdUI ui = QueryCommandState(id);
        action->setEnabled(ui.IsEnabled());
        // Only a checked item shows a check mark.
        const bool checked = ui.IsChecked();
        if (action->isCheckable() != checked) {
            action->setCheckable(checked);
        }
        action->setChecked(checked);
    }
    const CCmdUI line = QueryCommandState(CommandId::LineIndicator);
    const QString text = line.IsEnabled() && line.HasText() ? line.Text() : QString();
    if (m_pLinePane->text() != text) {
        m_pLinePane->setText(text);
    }
}

bool CMainFrame::OnCmdMsg(int id) {
    return DispatchCommand<CMainFrame>(this, MessageMap(), id);
}

bool CMainFrame::OnUpdateCmdMsg(CCmdUI& ui) {
    return DispatchUpdate<CMainFrame>(this, MessageMap(), ui);
}

// ---------------------------------------------------------------------------
// Commands

void CMainFrame::OnUpdateMDIWindowCmd(CCmdUI& ui) {
    ui.Enable(MDIGetActive() != nullptr);
}

void CMainFrame::OnWindowNew() {
    CDocument* document = GetActiveDocument();
    if (document != nullptr && document->GetDocTemplate() != nullptr) {
        document->GetDocTemplate()->CreateNewWindow(document);
    }
}

void CMainFrame::OnWindowCascade() {
    m_pMdiArea->cascadeSubWindows();
}

void CMainFrame::OnWindowTile() {
    m_pMdiArea->tileSubWindows();
}

void CMainFrame::OnWindowArrange() {
    ArrangeIconicWindows();
}

void CMainFrame::ArrangeIconicWindows() {
    const QSize area = m_pMdiArea->viewport()->size();
    const bool fromRight = m_pMdiArea->layoutDirection() == Qt::RightToLeft;
    int x = 0;
    int bottom = area.height();
    int rowHeight = 0;
    for (CChildFrame* frame : ChildFrames()) {
        if (!frame->isMinimized()) {
            continue;
        }
        const QSize icon = frame->size();
        if (x > 0 && x + icon.width() > area.width()) {
            x = 0;
            bottom -= rowHeight;
            rowHeight = 0;
        }
        // Child windows are placed in the area's own coordinates, which a
        // right-to-left area does not mirror.
        const int left = fromRight ? area.width() - x - icon.width() : x;
        frame->move(left, bottom - icon.height());
        x += icon.width();
        rowHeight = std::max(rowHeight, icon.height());
    }
}

void CMainFrame::OnViewToolbar() {
    m_pToolBar->setVisible(m_pToolBar->isHidden());
}

void CMainFrame::OnUpdateViewToolbar(CCmdUI& ui) {
    ui.SetCheck(!m_pToolBar->isHidden());
}

void CMainFrame::OnViewStatusBar() {
    statusBar()->setVisible(statusBar()->isHidden());
}

void CMainFrame::OnUpdateViewStatusBar(CCmdUI& ui) {
    ui.SetCheck(!statusBar()->isHidden());
}

void CMainFrame::OnUpdateFilePrint(CCmdUI& ui) {
    ui.Enable(ActiveEditor() != nullptr);
}

bool CMainFrame::PrintActiveView(QPrinter* printer) {
    QPlainTextEdit* editor = ActiveEditor();
    if (editor == nullptr) {
        return false;
    }
    editor->print(printer);
    return true;
}

void CMainFrame::OnFilePrint() {
    QPlainTextEdit* editor = ActiveEditor();
    if (editor == nullptr || m_pApp == nullptr) {
        return;
    }
    QPrinter* printer = m_pApp->Printer();
    QPrintDialog dialog(printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, editor->textCursor().hasSelection());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    WaitCursor wait;
    PrintActiveView(printer);
}

void CMainFrame::OnFilePrintPreview() {
    if (ActiveEditor() == nullptr || m_pApp == nullptr) {
        return;
    }
    QPrintPreviewDialog preview(m_pApp->Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintActiveView(printer); });
    preview.exec();
}

void CMainFrame::OnUpdateNextPane(CCmdUI& ui) {
    // Each window holds one view: there is no other pane to go to.
    ui.Enable(false);
}

// ---------------------------------------------------------------------------
// Events

void CMainFrame::ScheduleFileCheck() {
    QTimer::singleShot(0, this, [this] {
        if (!isActiveWindow() || QApplication::activeModalWidget() != nullptr) {
            return;  // told when the window is active again
        }
        if (CDocument* document = GetActiveDocument()) {
            document->CheckFileOnDisk();
        }
    });
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        ScheduleFileCheck();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_pApp != nullptr && !m_pApp->SaveAllModified()) {
        event->ignore();
        return;
    }
    if (m_pApp != nullptr) {
        m_pApp->CloseAllDocuments();
    }
    QMainWindow::closeEvent(event);
}

bool CMainFrame::OpenDroppedData(const QMimeData* data) {
    const QStringList files = LocalFiles(data);
    if (files.isEmpty() || m_pApp == nullptr) {
        return false;
    }
    // Only the first file opens, and only once the drop has finished: a
    // message about it must not hold up the program the file came from.
    const QString first = files.first();
    QTimer::singleShot(0, m_pApp, [app = m_pApp, first] { app->OpenDroppedFile(first); });
    activateWindow();
    return true;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (OpenDroppedData(event->mimeData())) {
        event->acceptProposedAction();
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && m_buttonsWithoutTip.contains(watched)) {
        return true;
    }
    // A command's key belongs to the command, also where the editor has its
    // own meaning for it (Alt+Backspace is undo, not deleting a word). Not
    // claiming the override lets the key reach the command; a key press that
    // arrives anyway is one whose command is unavailable, and does nothing.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const QKeyCombination key = static_cast<QKeyEvent*>(event)->keyCombination();
        const QKeySequence sequence(
            QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key()));
        if (dynamic_cast<CView*>(watched) != nullptr && IsCommandKey(sequence)) {
            return true;
        }
    }
    // Files dropped on a document window open as documents, as anywhere
    // else in the main window; other drops are the view's.
    if (IsDragEvent(event->type())) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!LocalFiles(drop->mimeData()).isEmpty()) {
            if (event->type() == QEvent::Drop) {
                OpenDroppedData(drop->mimeData());
            }
            drop->acceptProposedAction();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
