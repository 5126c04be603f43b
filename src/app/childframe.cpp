#include "app/childframe.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

#include "app/commandicons.h"
#include "app/commandtable.h"
#include "framework/doctemplate.h"
#include "framework/document.h"
#include "framework/view.h"

CChildFrame::CChildFrame(CDocTemplate* docTemplate, CView* view, QWidget* parent)
    : QMdiSubWindow(parent),
      m_pDocTemplate(docTemplate),
      m_pView(view),
      m_pViewWidget(view->Widget()),
      m_pDocument(view->GetDocument()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view->Widget());
    setWindowIcon(MenuResource() == kEditorMenu ? CommandIcons::EditorDocument()
                                                : CommandIcons::Application());
    if (m_pDocument != nullptr) {
        connect(m_pDocument, &CDocument::TitleChanged, this, &CChildFrame::UpdateTitle);
    }
    // The window menu keeps no key of a command: on some desktops Qt gives
    // its close item Ctrl+W as well as Ctrl+F4, and Ctrl+W is the preview's.
    if (QMenu* menu = systemMenu()) {
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            keys.removeIf([](const QKeySequence& key) { return IsCommandKey(key); });
            action->setShortcuts(keys);
        }
    }
    connect(this, &QMdiSubWindow::windowStateChanged, this, &CChildFrame::OnWindowStateChanged);
    UpdateTitle();
}

CChildFrame::~CChildFrame() = default;

CDocument* CChildFrame::GetDocument() const {
    return m_pView != nullptr ? m_pView->GetDocument() : nullptr;
}

int CChildFrame::MenuResource() const {
    return m_pDocTemplate != nullptr ? m_pDocTemplate->ResourceId() : kMainMenu;
}

void CChildFrame::UpdateTitle() {
    CDocument* document = GetDocument();
    if (document == nullptr) {
        return;
    }
    QString title = document->GetTitle();
    const QList<CView*>& views = document->GetViews();
    if (views.size() > 1) {
        title += QStringLiteral(":%1").arg(views.indexOf(m_pView) + 1);
    }
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
}

void CChildFrame::OnWindowStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState) {
    const bool wasActive = oldState.testFlag(Qt::WindowActive);
    const bool isActive = newState.testFlag(Qt::WindowActive);
    if (wasActive != isActive && m_pView != nullptr && !m_bClosing) {
        m_pView->OnActivateView(isActive);
    }
}

void CChildFrame::ReleaseView() {
    m_bClosing = true;
    if (m_pView != nullptr) {
        m_pView = nullptr;
        // Deleted before the document, which a closing document deletes
        // later still: an editor never outlives the text it shows.
        if (m_pViewWidget != nullptr) {
            m_pViewWidget->deleteLater();
        }
    }
}

void CChildFrame::CloseForDocument() {
    ReleaseView();
    if (!m_bInCloseEvent) {
        close();
    }
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    CDocument* document = GetDocument();
    if (document != nullptr && !document->IsClosing() && document->GetViews().size() <= 1) {
        // The document's last window: the document goes with it.
        if (!document->SaveModified()) {
            event->ignore();
            return;
        }
        m_bInCloseEvent = true;
        document->OnCloseDocument();
        m_bInCloseEvent = false;
    }
    ReleaseView();
    QMdiSubWindow::closeEvent(event);
}
