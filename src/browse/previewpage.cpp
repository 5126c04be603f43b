#include "browse/previewpage.h"

#include "browse/previewprofile.h"

namespace {

// How long after a click or key press a link navigation still counts as the
// user's. The engine reports a script's move to another address with the
// same type as a clicked link, so the user's own input tells them apart.
constexpr qint64 kUserActionMs = 1000;

}  // namespace

CPreviewPage::CPreviewPage(QObject* parent) : QWebEnginePage(CPreviewProfile::Get(), parent) {}

CPreviewPage::~CPreviewPage() = default;

bool CPreviewPage::IsWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return !(url.isLocalFile() || scheme == QLatin1String("about") ||
             scheme == QLatin1String("data") || scheme == QLatin1String("blob"));
}

bool CPreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (type == NavigationTypeTyped) {
        return true;  // the program's own: a preview file, the help or home page
    }
    const QUrl current = this->url();
    const bool localPage = current.isEmpty() || !IsWebAddress(current);
    if (!localPage || !IsWebAddress(url)) {
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    }
    const bool byUser = isMainFrame && type == NavigationTypeLinkClicked && m_userInput.isValid() &&
                        m_userInput.elapsed() <= kUserActionMs;
    if (byUser) {
        m_userInput.invalidate();
        if (m_webAddressHandler) {
            m_webAddressHandler(url);
        }
    }
    return false;
}
