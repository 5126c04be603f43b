#pragma once

#include <QString>
#include <QWebEngineView>

class QWidget;

// What the preview view needs of a web browser: a child window that fills
// the view, can be sent to a local file path or a URL, and reloads the page
// it shows.
class IWebBrowser {
public:
    virtual ~IWebBrowser() = default;
    // The browser's window, a child of the view that created it.
    virtual QWidget* Widget() = 0;
    virtual void Navigate(const QString& address) = 0;
    virtual void Refresh() = 0;
};

// The web browser of the preview window: Chromium through Qt WebEngine. It
// shows a page marked "<meta charset='visual'>" in visual order.
class CWebBrowser : public QWebEngineView, public IWebBrowser {
    Q_OBJECT

public:
    explicit CWebBrowser(QWidget* parent = nullptr);
    ~CWebBrowser() override;

    QWidget* Widget() override { return this; }
    // A path (absolute or relative to the current folder) or a URL.
    void Navigate(const QString& address) override;
    // Reads the page again, not from a cache: the preview file was rewritten.
    void Refresh() override;

    // The URL an address stands for: a path becomes a file URL, anything
    // with a scheme ("http:", "https:", "file:") is taken as it is.
    static QUrl AddressToUrl(const QString& address);

    // The web engine's sandbox cannot run as root: it is switched off for a
    // process run as root, and only then. Called before the application
    // object is made, and again before the first browser is created; the
    // engine reads the setting when it starts, with the first browser.
    static void PrepareEnvironment();
};
