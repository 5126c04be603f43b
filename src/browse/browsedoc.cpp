#include "browse/browsedoc.h"

#include <QDesktopServices>
#include <QProcess>

#include "browse/browseview.h"
#include "document/hebdoc.h"
#include "document/settings.h"
#include "framework/appprofile.h"
#include "framework/commandids.h"
#include "framework/localpath.h"

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
    (void)path;
    return false;
}

bool CBrowseDoc::OnCmdMsg(int id) {
    switch (id) {
        case CommandId::FileSave:
        case CommandId::FileSaveAs:
            return true;  // nothing to save: the page is someone else's file
        default:
            return CDocument::OnCmdMsg(id);
    }
}

bool CBrowseDoc::OnUpdateCmdMsg(CCmdUI& ui) {
    switch (ui.ID()) {
        case CommandId::FileSave:
        case CommandId::FileSaveAs:
            ui.Enable(false);
            return true;
        default:
            return CDocument::OnUpdateCmdMsg(ui);
    }
}

void CBrowseDoc::OnCloseDocument() {
    if (IsClosing()) {
        return;
    }
    if (m_pSourceDoc != nullptr && m_pSourceDoc->GetPreviewDoc() == this) {
        m_pSourceDoc->SetPreviewOpen(false);
    }
    if (m_bOwnsFile) {
        CHebDoc::RemovePreviewFile(GetPathName());
    }
    CDocument::OnCloseDocument();
}

QString CBrowseDoc::ExternalBrowserProgram() const {
    BrowseSettings settings;
    if (m_pSourceDoc != nullptr) {
        m_pSourceDoc->GetBrowseSettings(settings);
    } else {
        settings = Settings::Load(AppProfile::Read()).Browse;
    }
    return PathFromLocal(settings.BrowseFile);
}

void CBrowseDoc::OpenWebAddress(const QUrl& url) {
    // The address is the program's one argument, never split by a shell.
    const QString program = ExternalBrowserProgram();
    if (!program.isEmpty()) {
        QProcess::startDetached(program, {url.toString(QUrl::FullyEncoded)});
    } else {
        QDesktopServices::openUrl(url);
    }
}
