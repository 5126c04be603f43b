#include "browse/webbrowser.h"

#include <unistd.h>

#include <QDir>
#include <QUrl>
#include <QWebEnginePage>

CWebBrowser::CWebBrowser(QWidget* parent) : QWebEngineView(parent) {}

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
