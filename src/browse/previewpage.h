#pragma once

#include <QElapsedTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <functional>

// The page of a preview, help or home page window, on the shared preview
// profile. A local page stays local: a link the user clicks to a web address
// goes to the web address handler (the external browser) instead of into the
// window, and a script, redirect or form that would move the page to the web
// is stopped. The program's own navigation (a preview file, the home page)
// always goes ahead, and a page from the web navigates as any browser does.
class CPreviewPage : public QWebEnginePage {
    Q_OBJECT

public:
    using WebAddressHandler = std::function<void(const QUrl&)>;

    explicit CPreviewPage(QObject* parent = nullptr);
    ~CPreviewPage() override;

    void SetWebAddressHandler(WebAddressHandler handler) {
        m_webAddressHandler = std::move(handler);
    }
    // The user clicked or pressed a key in the page: a link navigation that
    // follows at once is the user's, not a script's.
    void NoteUserInput() { m_userInput.start(); }

    // Whether the address leaves the local disk: anything but a file, or the
    // engine's own about:, data: and blob: pages.
    static bool IsWebAddress(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    WebAddressHandler m_webAddressHandler;
    QElapsedTimer m_userInput;
};
