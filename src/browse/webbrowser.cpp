#include "browse/webbrowser.h"

#include <unistd.h>

#include <QChildEvent>
#include <QDir>
#include <QUrl>
#include <QWebEnginePage>

#include "browse/previewpage.h"

CWebBrowser::CWebBrowser(QWidget* parent) : QWebEngineView(parent) {
    setPage(new CPreviewPage(this));
    for (QObject* child : children()) {
        WatchInput(child);
    }
}

void CWebBrowser::SetWebAddressHandler(std::function<void(const QUrl&)> handler) {
    static_cast<CPreviewPage*>(page())->SetWebAddressHandler(std::move(handler));
}

void CWebBrowser::WatchInput(QObject* child) {
    if (child->isWidgetType()) {
        child->installEventFilter(this);
    }
}

bool CWebBrowser::event(QEvent* event) {
    if (event->type() == QEvent::ChildAdded) {
        WatchInput(static_cast<QChildEvent*>(event)->child());
    }
    return QWebEngineView::event(event);
}

bool CWebBrowser::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::TouchEnd:
            static_cast<CPreviewPage*>(page())->NoteUserInput();
            break;
        default:
            break;
    }
    return QWebEngineView::eventFilter(watched, event);
}

CWebBrowser::~CWebBrowser() = default;

QUrl CWebBrowser::AddressToUrl(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    // A scheme of one letter is a drive, not a scheme; a path has none.
    if (url.isValid() && url.scheme().size() > 1 && !QDir::isAbsolutePath(address)) {
        return url;
    }
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(address));
}

void CWebBrowser::Navigate(const QString& address) {
    setUrl(AddressToUrl(address));
}

void CWebBrowser::Refresh() {
    triggerPageAction(QWebEnginePage::ReloadAndBypassCache);
}

void CWebBrowser::PrepareEnvironment() {
    static constexpr char kDisableSandbox[] = "QTWEBENGINE_DISABLE_SANDBOX";
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet(kDisableSandbox)) {
        qputenv(kDisableSandbox, "1");
    }
}
