#include "browse/browsedoc.h"

#include <QFile>

#include "browse/browseview.h"
#include "document/hebdoc.h"
#include "framework/uiservices.h"

CBrowseDoc::CBrowseDoc(QObject* parent) : CDocument(parent) {}

CBrowseDoc::~CBrowseDoc() = default;

void CBrowseDoc::SetSourceDoc(CHebDoc* source) {
    m_pSourceDoc = source;
    m_bOwnsFile = source != nullptr;
}

CBrowseView* CBrowseDoc::FirstBrowseView() const {
    return dynamic_cast<CBrowseView*>(GetFirstView());
}

bool CBrowseDoc::Navigate(const QString& address) {
    m_strAddress = address;
    CBrowseView* view = FirstBrowseView();
    return view != nullptr && view->Navigate(address);
}

void CBrowseDoc::Refresh() {
    // Cleared first: bringing the window forward activates it, and its
    // activation previews the source again, which must not reload twice.
    if (m_pSourceDoc != nullptr) {
        m_pSourceDoc->SetModifiedCopy(false);
    }
    if (CBrowseView* view = FirstBrowseView()) {
        view->Refresh();
    }
}

bool CBrowseDoc::OnSaveDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Ui().ShowMessage(tr("לא ניתן לשמור את הקובץ %1.").arg(path));
        return false;
    }
    file.close();
    return CDocument::OnSaveDocument(path);
}

void CBrowseDoc::OnCloseDocument() {
    if (IsClosing()) {
        return;
    }
    if (m_pSourceDoc != nullptr && m_pSourceDoc->GetPreviewDoc() == this) {
        m_pSourceDoc->SetPreviewOpen(false);
    }
    if (m_bOwnsFile && !GetPathName().isEmpty()) {
        QFile::remove(GetPathName());
    }
    CDocument::OnCloseDocument();
}
