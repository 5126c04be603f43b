#pragma once

#include <QPointer>
#include <QString>
#include <QUrl>

#include "document/hebdoc.h"
#include "framework/document.h"

class CBrowseView;

// A preview document: a page (a file path or a URL) shown in a preview
// window, and the editor document it previews, if any. Opening a file into
// it reads nothing; its view's browser shows the address.
//
// A preview of an editor document shows that document's preview file and
// deletes the file when it closes. The help page and the home page have no
// source and leave their file alone.
class CBrowseDoc : public CDocument, public IPreviewDoc {
    Q_OBJECT

public:
    explicit CBrowseDoc(QObject* parent = nullptr);
    ~CBrowseDoc() override;

    // IPreviewDoc. The source is not owned; it is null for the help page and
    // the home page.
    void SetSourceDoc(CHebDoc* source) override;
    CHebDoc* GetSourceDoc() const { return m_pSourceDoc; }
    // Sends the first view to the address; false when there is no view or
    // no browser could be made.
    bool Navigate(const QString& address) override;
    const QString& GetAddress() const { return m_strAddress; }
    // Reloads the first view's page and brings its window forward; the
    // source's text now shows, so its changed-since-reload flag is cleared.
    void Refresh() override;

    // A preview holds nothing of its own and never writes a file: Save and
    // Save As are unavailable in its windows, and saving does nothing.
    bool OnSaveDocument(const QString& path) override;
    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdMsg(CCmdUI& ui) override;
    // The preview of a source document deletes its file (only if it is still
    // the file this program wrote there), and the source learns that its
    // preview is closed.
    void OnCloseDocument() override;

    // A web address the user chose in the page: it opens in the browser
    // program of the browse settings (the source's, else the profile's), or
    // in the desktop's default browser when none is set.
    void OpenWebAddress(const QUrl& url);
    // The browser program a web address opens in; empty: the desktop's own.
    QString ExternalBrowserProgram() const;

private:
    CBrowseView* FirstBrowseView() const;

    QPointer<CHebDoc> m_pSourceDoc;
    // Set with the source: the file goes even if the source went first.
    bool m_bOwnsFile = false;
    QString m_strAddress;
};
