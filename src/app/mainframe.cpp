#include "app/mainframe.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/childframe.h"
#include "app/commandicons.h"
#include "app/commandtable.h"
#include "app/hebapp.h"
#include "framework/displaytext.h"
#include "framework/document.h"
#include "framework/idleupdater.h"
#include "framework/uiservices.h"
#include "framework/view.h"
#include "view/hebview.h"

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

// The window menu numbers this many windows; the others are a choice away.
constexpr int kListedWindows = 9;

// Two thirds of a length, rounded up: the least a document window is given
// when it opens or is cascaded.
int TwoThirds(int length) {
    return (2 * length + 2) / 3;
}

// How far each cascaded window sits below and beside the one behind it:
// the height of a title bar with its border, so that every title shows.
int CascadeStep(const QWidget* frame) {
    QStyleOptionTitleBar option;
    option.initFrom(frame);
    option.titleBarFlags = frame->windowFlags();
    const QStyle* style = frame->style();
    const int step = style->pixelMetric(QStyle::PM_TitleBarHeight, &option, frame) +
                     style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, frame);
    return std::max(step, 1);
}

// Window rectangles are worked out from the workspace's leading corner (the
// top right in a right-to-left program) and mirrored into the coordinates of
// the windows, which a right-to-left area does not mirror itself.
QRect FromLeadingCorner(Qt::LayoutDirection direction, const QRect& workspace, QPoint offset,
                        QSize size) {
    return QStyle::visualRect(direction, workspace, QRect(workspace.topLeft() + offset, size));
}

QPoint OffsetFromLeadingCorner(Qt::LayoutDirection direction, const QRect& workspace,
                               const QRect& rect) {
    return QStyle::visualRect(direction, workspace, rect).topLeft() - workspace.topLeft();
}

// The list of all open windows, for more windows than the menu numbers: the
// row chosen, or -1.
int ChooseWindow(QWidget* parent, const QStringList& titles, int current) {
    QDialog dialog(parent);
    dialog.setWindowTitle(CMainFrame::tr("בחירת חלון"));
    auto* label = new QLabel(CMainFrame::tr("&חלונות פתוחים:"), &dialog);
    auto* list = new QListWidget(&dialog);
    list->addItems(titles);
    list->setCurrentRow(current);
    label->setBuddy(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(CMainFrame::tr("אישור"));
    buttons->button(QDialogButtonBox::Cancel)->setText(CMainFrame::tr("ביטול"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    return dialog.exec() == QDialog::Accepted ? list->currentRow() : -1;
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
    AttachWindowLists();
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
    m_pToolBar->setIconSize(QSize(CommandIcons::kButtonSize, CommandIcons::kButtonSize));
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
    // The order pane fits its longer word, "visual".
    m_pOrderPane = new QLabel(this);
    m_pOrderPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pOrderPane->setAlignment(Qt::AlignCenter);
    m_pOrderPane->setMinimumWidth(m_pOrderPane->fontMetrics().horizontalAdvance(tr("ויזואלי")) +
                                  2 * m_pOrderPane->frameWidth() + 8);
    statusBar()->addPermanentWidget(m_pOrderPane);
    // The encoding pane fits its longer name, "UTF-8".
    m_pEncodingPane = new QLabel(this);
    m_pEncodingPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pEncodingPane->setAlignment(Qt::AlignCenter);
    m_pEncodingPane->setMinimumWidth(
        m_pEncodingPane->fontMetrics().horizontalAdvance(QStringLiteral("UTF-8")) +
        2 * m_pEncodingPane->frameWidth() + 8);
    statusBar()->addPermanentWidget(m_pEncodingPane);
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
            // Isolated: in the right-to-left menu a path's leading slash
            // would otherwise be shown at its end.
            action->setText(QStringLiteral("&%1 ").arg(i + 1) + LeftToRightIsolate(path));
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
    // Maximising and restoring change the main window's title.
    connect(frame, &QMdiSubWindow::windowStateChanged, m_pIdle, &IdleUpdater::Schedule);
    if (visible) {
        PlaceNewFrame(frame);
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
            ActivateFrame(frame);
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
    // The document's name once: beside the program's name, or in brackets
    // after it while its window is maximised (the maximised window's
    // buttons sit in the menu bar, and it has no title bar of its own).
    QString title = CHebApp::AppTitle();
    if (active != nullptr && active->isMaximized()) {
        title += QStringLiteral(" - [") + active->windowTitle() + QLatin1Char(']');
    } else if (CDocument* document = GetActiveDocument()) {
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
    UpdatePane(m_pLinePane, CommandId::LineIndicator);
    UpdatePane(m_pOrderPane, CommandId::OrderIndicator);
    UpdatePane(m_pEncodingPane, CommandId::EncodingIndicator);
}

void CMainFrame::UpdatePane(QLabel* pane, int id) {
    const CCmdUI ui = QueryCommandState(id);
    const QString text = ui.IsEnabled() && ui.HasText() ? ui.Text() : QString();
    if (pane->text() != text) {
        pane->setText(text);
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

QRect CMainFrame::Workspace() {
    // Before the main window is first shown its layout has not sized the
    // area yet.
    if (!m_pMdiArea->isVisible() && layout() != nullptr) {
        layout()->activate();
    }
    return QRect(QPoint(0, 0), m_pMdiArea->maximumViewportSize());
}

void CMainFrame::ActivateFrame(CChildFrame* frame) {
    if (frame->isMinimized()) {
        frame->showNormal();
    }
    m_pMdiArea->setActiveSubWindow(frame);
}

void CMainFrame::PlaceNewFrame(CChildFrame* frame) {
    const QRect workspace = Workspace();
    const Qt::LayoutDirection direction = m_pMdiArea->layoutDirection();
    const QSize size(TwoThirds(workspace.width()), TwoThirds(workspace.height()));
    QPoint offset(0, 0);
    CChildFrame* previous = nullptr;
    for (CChildFrame* other : ChildFrames()) {
        if (other != frame) {
            previous = other;
        }
    }
    if (previous != nullptr) {
        // A minimised or maximised window does not show where it was put.
        const bool normal = !previous->isMinimized() && !previous->isMaximized();
        const QPoint from =
            normal ? OffsetFromLeadingCorner(direction, workspace, previous->geometry())
                   : m_lastPlacement;
        const int step = CascadeStep(frame);
        offset = from + QPoint(step, step);
        if (offset.x() < 0 || offset.y() < 0 || offset.x() + size.width() > workspace.width() ||
            offset.y() + size.height() > workspace.height()) {
            offset = QPoint(0, 0);
        }
    }
    m_lastPlacement = offset;
    frame->setGeometry(FromLeadingCorner(direction, workspace, offset, size));
}

QList<CChildFrame*> CMainFrame::ArrangeableFrames(bool activeFirst) {
    QList<CChildFrame*> frames;
    const QMdiArea::WindowOrder order =
        activeFirst ? QMdiArea::CreationOrder : QMdiArea::StackingOrder;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList(order)) {
        auto* frame = qobject_cast<CChildFrame*>(window);
        if (frame == nullptr || frame->IsClosing() || frame->isHidden() || frame->isMinimized()) {
            continue;
        }
        if (frame->isMaximized()) {
            frame->showNormal();
        }
        frames.append(frame);
    }
    CChildFrame* active = MDIGetActive();
    if (activeFirst && frames.removeOne(active)) {
        frames.prepend(active);
    }
    return frames;
}

QRect CMainFrame::ArrangeWorkspace() {
    ArrangeIconicWindows();
    QRect workspace = Workspace();
    for (CChildFrame* frame : ChildFrames()) {
        if (frame->isMinimized() && !frame->isHidden()) {
            workspace.setBottom(std::min(workspace.bottom(), frame->geometry().top() - 1));
        }
    }
    return workspace;
}

void CMainFrame::OnWindowCascade() {
    // From the window at the back to the one in front, so that the order
    // on screen stays as it was and the active window stays on top.
    const QList<CChildFrame*> frames = ArrangeableFrames(false);
    if (frames.isEmpty()) {
        return;
    }
    const QRect workspace = ArrangeWorkspace();
    const Qt::LayoutDirection direction = m_pMdiArea->layoutDirection();
    const int count = static_cast<int>(frames.size());
    const int step = CascadeStep(frames.first());
    // As large as the steps leave room for, and never under two thirds of
    // the workspace; a cascade too long for that starts again at the top,
    // further to the side.
    const int height =
        std::max(TwoThirds(workspace.height()), workspace.height() - (count - 1) * step);
    const int rows = std::max(1, (workspace.height() - height) / step + 1);
    const int width =
        std::max(TwoThirds(workspace.width()), workspace.width() - (count - 1) * step);
    const int side = count > 1 ? std::min(step, (workspace.width() - width) / (count - 1)) : 0;
    for (int i = 0; i < count; ++i) {
        m_lastPlacement = QPoint(i * side, (i % rows) * step);
        frames[i]->setGeometry(
            FromLeadingCorner(direction, workspace, m_lastPlacement, QSize(width, height)));
    }
}

void CMainFrame::OnWindowTile() {
    // Columns of windows one above another, the active window in the
    // leading corner; the last columns take one window more when they do
    // not share out evenly.
    const QList<CChildFrame*> frames = ArrangeableFrames(true);
    if (frames.isEmpty()) {
        return;
    }
    const QRect workspace = ArrangeWorkspace();
    const Qt::LayoutDirection direction = m_pMdiArea->layoutDirection();
    const int count = static_cast<int>(frames.size());
    int columns = 1;
    while ((columns + 1) * (columns + 1) <= count) {
        ++columns;
    }
    const int width = workspace.width();
    const int height = workspace.height();
    int index = 0;
    for (int column = 0; column < columns; ++column) {
        const int rows = count / columns + (column >= columns - count % columns ? 1 : 0);
        const int left = width * column / columns;
        const int right = width * (column + 1) / columns;
        for (int row = 0; row < rows; ++row) {
            const int top = height * row / rows;
            const int bottom = height * (row + 1) / rows;
            frames[index++]->setGeometry(FromLeadingCorner(direction, workspace, QPoint(left, top),
                                                           QSize(right - left, bottom - top)));
        }
    }
}

void CMainFrame::AttachWindowLists() {
    QAction* arrange = CommandAction(CommandId::WindowArrange);
    for (const auto& [resourceId, popups] : m_menus) {
        for (QMenu* popup : popups) {
            if (popup->actions().contains(arrange)) {
                connect(popup, &QMenu::aboutToShow, this, [this, popup] { FillWindowList(popup); });
            }
        }
    }
}

void CMainFrame::FillWindowList(QMenu* menu) {
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    const QList<CChildFrame*> frames = ChildFrames();
    if (frames.isEmpty()) {
        return;
    }
    // The active window is always among those numbered: past the ninth, it
    // takes the last number.
    CChildFrame* active = MDIGetActive();
    QList<CChildFrame*> listed = frames.mid(0, kListedWindows);
    if (active != nullptr && !listed.contains(active)) {
        listed.last() = active;
    }
    m_windowListActions.append(menu->addSeparator());
    for (qsizetype i = 0; i < listed.size(); ++i) {
        QString title = listed[i]->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item =
            menu->addAction(QStringLiteral("&%1 ").arg(i + 1) + FirstStrongIsolate(title));
        item->setStatusTip(tr("הפעל חלון זה"));
        // Only the active window's item shows a check mark.
        item->setCheckable(listed[i] == active);
        item->setChecked(listed[i] == active);
        connect(item, &QAction::triggered, this, [this, frame = QPointer<CChildFrame>(listed[i])] {
            if (frame != nullptr && !frame->IsClosing()) {
                ActivateFrame(frame);
            }
        });
        m_windowListActions.append(item);
    }
    if (frames.size() > kListedWindows) {
        QAction* more = menu->addAction(tr("חלונות &נוספים..."));
        more->setStatusTip(tr("הצג את רשימת כל החלונות הפתוחים"));
        connect(more, &QAction::triggered, this, &CMainFrame::ShowMoreWindows);
        m_windowListActions.append(more);
    }
}

void CMainFrame::ShowMoreWindows() {
    const QList<CChildFrame*> frames = ChildFrames();
    QStringList titles;
    for (CChildFrame* frame : frames) {
        titles.append(FirstStrongIsolate(frame->windowTitle()));
    }
    QList<QPointer<CChildFrame>> guarded(frames.begin(), frames.end());
    const int chosen = ChooseWindow(this, titles, static_cast<int>(frames.indexOf(MDIGetActive())));
    if (chosen >= 0 && guarded[chosen] != nullptr && !guarded[chosen]->IsClosing()) {
        ActivateFrame(guarded[chosen]);
    }
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
    // The editor's own printing, which keeps each line as the editor shows
    // it; another text widget prints as Qt does.
    if (auto* view = qobject_cast<CHebView*>(editor)) {
        view->PrintTo(printer);
    } else {
        editor->print(printer);
    }
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
    QString title = tr("הצגה לפני הדפסה");
    if (CDocument* document = GetActiveDocument()) {
        title += QStringLiteral(" - ") + document->GetTitle();
    }
    preview.setWindowTitle(title);
    // The preview's own toolbar gets a plain way out, named in words, at
    // its start where a narrow window does not push it out of sight.
    if (auto* toolbar = preview.findChild<QToolBar*>()) {
        QAction* first = toolbar->actions().value(0);
        auto* close =
            new QAction(QIcon::fromTheme(QStringLiteral("window-close"),
                                         style()->standardIcon(QStyle::SP_DialogCloseButton)),
                        tr("סגור"), toolbar);
        toolbar->insertAction(first, close);
        toolbar->insertSeparator(first);
        close->setObjectName(QStringLiteral("ClosePreview"));
        close->setToolTip(tr("סגור את ההצגה לפני הדפסה"));
        connect(close, &QAction::triggered, &preview, &QDialog::reject);
        if (auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(close))) {
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        }
    }
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
