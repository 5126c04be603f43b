#pragma once

#include <QString>
#include <QWebEngineView>
#include <functional>

class CPreviewPage;
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
// shows a page marked "<meta charset='visual'>" in visual order. Its page is
// a CPreviewPage on the shared preview profile: script cannot read local
// files, and a local page does not move to the web.
class CWebBrowser : public QWebEngineView, public IWebBrowser {
    Q_OBJECT

public:
    explicit CWebBrowser(QWidget* parent = nullptr);
    ~CWebBrowser() override;

    // Where a web address the user clicks in a local page goes.
    void SetWebAddressHandler(std::function<void(const QUrl&)> handler);

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

protected:
    // The page's input arrives at a child widget of the engine's making:
    // each child is watched for the user's clicks and key presses.
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchInput(QObject* child);
};
