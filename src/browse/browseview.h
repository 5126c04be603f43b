#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "framework/view.h"

class CBrowseDoc;
class IWebBrowser;

// The view of a preview document: a web browser that fills it. The browser is
// made when the view is first sent to an address; a further window on the
// same document has none and shows nothing.
class CBrowseView : public QWidget, public CView {
    Q_OBJECT

public:
    // Makes the browser, a child of parent; null when none can be made.
    using BrowserFactory = std::function<IWebBrowser*(QWidget* parent)>;

    explicit CBrowseView(CBrowseDoc* document, QWidget* parent = nullptr);
    ~CBrowseView() override;

    QWidget* Widget() override { return this; }
    CBrowseDoc* GetBrowseDoc() const;

    // Sends the browser to the address (a file path or a URL), making the
    // browser first if there is none yet. True when a browser shows it.
    bool Navigate(const QString& address);
    // Reloads the page and brings the view's window forward; nothing without
    // a browser.
    void Refresh();
    // Activating the window of a source's preview previews the source again:
    // the file is rewritten, and the page reloads if the text changed.
    void OnActivateView(bool activate) override;
    // The browser covers the whole view.
    void OnSize(int width, int height);

    bool IsBrowserCreated() const { return m_bBrowserCreated; }
    IWebBrowser* Browser() const { return m_pBrowser; }
    // The address the view was last sent to.
    const QString& ShownAddress() const { return m_strAddress; }

    // How browsers are made; an empty factory restores the real one.
    static void SetBrowserFactory(BrowserFactory factory);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    IWebBrowser* m_pBrowser = nullptr;  // a child widget of the view
    bool m_bBrowserCreated = false;
    QString m_strAddress;
};
