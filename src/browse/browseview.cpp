#include "browse/browseview.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QResizeEvent>

#include "browse/browsedoc.h"
#include "browse/webbrowser.h"
#include "document/hebdoc.h"

namespace {

CBrowseView::BrowserFactory& Factory() {
    static CBrowseView::BrowserFactory factory;
    return factory;
}

IWebBrowser* MakeBrowser(CBrowseView* view) {
    if (Factory()) {
        return Factory()(view);
    }
    CWebBrowser::PrepareEnvironment();
    auto* browser = new CWebBrowser(view);
    browser->SetWebAddressHandler([view](const QUrl& url) {
        if (CBrowseDoc* document = view->GetBrowseDoc()) {
            document->OpenWebAddress(url);
        }
    });
    return browser;
}

}  // namespace

void CBrowseView::SetBrowserFactory(BrowserFactory factory) {
    Factory() = std::move(factory);
}

CBrowseView::CBrowseView(CBrowseDoc* document, QWidget* parent) : QWidget(parent), CView(document) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

CBrowseView::~CBrowseView() = default;

CBrowseDoc* CBrowseView::GetBrowseDoc() const {
    return static_cast<CBrowseDoc*>(GetDocument());
}

bool CBrowseView::Navigate(const QString& address) {
    m_strAddress = address;
    m_bBrowserCreated = false;
    if (m_pBrowser == nullptr) {
        m_pBrowser = MakeBrowser(this);
        if (m_pBrowser == nullptr) {
            return false;
        }
        m_pBrowser->Widget()->setGeometry(rect());
        m_pBrowser->Widget()->show();
        // Keys for the window go to the page: scrolling, finding links.
        setFocusProxy(m_pBrowser->Widget());
    }
    m_pBrowser->Navigate(address);
    m_bBrowserCreated = true;
    return true;
}

void CBrowseView::Refresh() {
    if (!m_bBrowserCreated) {
        return;
    }
    m_pBrowser->Refresh();
    // The window comes to the top, and becomes the active one.
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (frame == nullptr) {
        return;
    }
    if (frame->isMinimized()) {
        frame->showNormal();
    }
    frame->raise();
    if (QMdiArea* area = frame->mdiArea(); area != nullptr && area->activeSubWindow() != frame) {
        area->setActiveSubWindow(frame);
    }
}

void CBrowseView::OnActivateView(bool activate) {
    CBrowseDoc* document = GetBrowseDoc();
    if (m_bBrowserCreated && activate && document != nullptr && !document->IsClosing()) {
        CHebDoc* source = document->GetSourceDoc();
        if (source != nullptr && !source->IsClosing()) {
            source->Preview(false, QString());
        }
    }
    CView::OnActivateView(activate);
}

void CBrowseView::OnSize(int width, int height) {
    if (m_bBrowserCreated) {
        m_pBrowser->Widget()->setGeometry(0, 0, width, height);
        m_pBrowser->Widget()->update();
    }
}

void CBrowseView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
}
