#include "browse/browsedoc.h"

#include <QFile>

#include "browse/browseview.h"
#include "document/hebdoc.h"
#include "framework/uiservices.h"

CBrowseDoc::CBrowseDoc(QObject* parent) : CDocument(parent) {}

CBrowseDoc::~CBrowseDoc() = default;

bool CBrowseDoc::Navigate(const QString& address) {
    m_strAddress = address;
    auto* view = dynamic_cast<CBrowseView*>(GetFirstView());
    return view != nullptr && view->Navigate(address);
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
