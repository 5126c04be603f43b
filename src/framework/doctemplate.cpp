#include "framework/doctemplate.h"

#include <QFileInfo>

#include "framework/document.h"
#include "framework/filestamp.h"
#include "framework/localpath.h"
#include "framework/view.h"

namespace {
IFrameHost* g_frameHost = nullptr;

// Two spellings of one file: the same absolute or canonical path, or the
// same device and inode (symbolic and hard links).
bool IsSameFile(const QString& absolute, const FileStamp& stamp, const QString& other) {
    if (other == absolute) {
        return true;
    }
    const QString canonical = QFileInfo(absolute).canonicalFilePath();
    if (!canonical.isEmpty() && canonical == QFileInfo(other).canonicalFilePath()) {
        return true;
    }
    return stamp.SameFile(FileStamp::Of(LocalPath(other)));
}
}  // namespace

void CDocTemplate::SetFrameHost(IFrameHost* host) {
    g_frameHost = host;
}

IFrameHost* CDocTemplate::FrameHost() {
    return g_frameHost;
}

CDocTemplate::CDocTemplate(int resourceId, QString baseName, DocumentFactory makeDocument,
                           ViewFactory makeView)
    : m_nResourceId(resourceId),
      m_strBaseName(std::move(baseName)),
      m_makeDocument(std::move(makeDocument)),
      m_makeView(std::move(makeView)) {}

CDocument* CDocTemplate::OpenDocumentFile(const QString& path, bool visible) {
    QString absolute;
    if (!path.isEmpty()) {
        absolute = QFileInfo(path).absoluteFilePath();
        const FileStamp stamp = FileStamp::Of(LocalPath(absolute));
        for (CDocument* open : m_documents) {
            if (!open->IsClosing() && !open->GetPathName().isEmpty() &&
                IsSameFile(absolute, stamp, open->GetPathName())) {
                if (g_frameHost != nullptr) {
                    g_frameHost->ActivateDocument(open);
                }
                return open;
            }
        }
    }

    CDocument* document = m_makeDocument();
    document->SetDocTemplate(this);
    m_documents.append(document);
    bool ok;
    if (absolute.isEmpty()) {
        if (!m_strBaseName.isEmpty()) {
            document->SetTitle(m_strBaseName + QString::number(++m_nUntitledCount));
        }
        ok = document->OnNewDocument();
    } else {
        document->SetOpensIntoShownWindow(visible && g_frameHost != nullptr);
        ok = document->OnOpenDocument(absolute);
        document->SetOpensIntoShownWindow(false);
        if (ok) {
            document->SetPathName(absolute);
        }
    }
    if (!ok) {
        RemoveDocument(document);
        document->SetDocTemplate(nullptr);
        delete document;
        return nullptr;
    }

    CView* view = m_makeView(document);
    if (g_frameHost != nullptr) {
        g_frameHost->AddFrame(this, view, visible);
    }
    view->OnInitialUpdate();
    return document;
}

CView* CDocTemplate::CreateNewWindow(CDocument* document) {
    // The first display of a view marks its document as not modified; a
    // further window on an edited document must not make it look saved.
    const bool wasModified = document->IsModified();
    CView* view = m_makeView(document);
    if (g_frameHost != nullptr) {
        g_frameHost->AddFrame(this, view, true);
    }
    view->OnInitialUpdate();
    if (wasModified) {
        document->SetDocModified(true);
    }
    return view;
}

void CDocTemplate::RemoveDocument(CDocument* document) {
    m_documents.removeAll(document);
}
