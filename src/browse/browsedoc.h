#pragma once

#include <QPointer>
#include <QString>

#include "document/hebdoc.h"
#include "framework/document.h"

// A preview document: an address (a file path or a URL) shown in a preview
// window, and the editor document it previews, if any. Opening a file into
// it reads nothing; the window shows the address.
//
// For now the window shows the address as text; issue 7 brings the browser
// that displays the page, reloading and the preview file's removal.
class CBrowseDoc : public CDocument {
    Q_OBJECT

public:
    explicit CBrowseDoc(QObject* parent = nullptr);
    ~CBrowseDoc() override;

    // The editor document this one previews; null for the help page and the
    // home page. Not owned.
    void SetSourceDoc(CHebDoc* source) { m_pSourceDoc = source; }
    CHebDoc* GetSourceDoc() const { return m_pSourceDoc; }

    // Sends the first view to the address; false when there is no view.
    bool Navigate(const QString& address);
    const QString& GetAddress() const { return m_strAddress; }

    // A preview holds nothing of its own: saving writes an empty file.
    bool OnSaveDocument(const QString& path) override;

private:
    QPointer<CHebDoc> m_pSourceDoc;
    QString m_strAddress;
};
