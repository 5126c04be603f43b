#include "framework/document.h"

#include <QFileInfo>

#include "framework/commandids.h"
#include "framework/doctemplate.h"
#include "framework/filestamp.h"
#include "framework/filewatch.h"
#include "framework/uiservices.h"
#include "framework/view.h"

namespace {

// A path inside a Hebrew sentence, kept left to right as a whole (its
// slashes would otherwise take the sentence's direction).
QString Isolated(const QString& path) {
    return QChar(0x2066) + path + QChar(0x2069);
}

}  // namespace

CDocument::CDocument(QObject* parent) : QObject(parent), m_pWatch(new FileWatch(this)) {
    connect(m_pWatch, &FileWatch::ChangedOnDisk, this, &CDocument::FileChangedOnDisk);
}

CDocument::~CDocument() {
    for (CView* view : m_views) {
        view->DetachDocument();
    }
    if (m_pDocTemplate != nullptr) {
        m_pDocTemplate->RemoveDocument(this);
    }
}

void CDocument::SetPathName(const QString& path, bool addToMRU) {
    m_strPathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(m_strPathName).fileName());
    if (addToMRU) {
        Ui().AddToRecentFileList(m_strPathName);
    }
}

void CDocument::SetTitle(const QString& title) {
    m_strTitle = title;
    emit TitleChanged(m_strTitle);
}

void CDocument::SetModifiedFlag(bool modified) {
    if (m_bModified != modified) {
        m_bModified = modified;
        emit ModifiedChanged(modified);
    }
}

void CDocument::AddView(CView* view) {
    m_views.append(view);
}

void CDocument::RemoveView(CView* view) {
    m_views.removeAll(view);
}

bool CDocument::OnNewDocument() {
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const QString& path) {
    (void)path;
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const QString& path) {
    (void)path;
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument() {
    if (m_bClosing) {
        return;
    }
    m_bClosing = true;
    const QList<CView*> views = m_views;
    for (CView* view : views) {
        if (IFrameHost* host = CDocTemplate::FrameHost()) {
            host->CloseFrame(view);
        } else {
            view->DetachDocument();
            RemoveView(view);
        }
    }
    if (m_pDocTemplate != nullptr) {
        m_pDocTemplate->RemoveDocument(this);
        m_pDocTemplate = nullptr;
    }
    deleteLater();
}

void CDocument::RememberFile(const QString& path, std::string_view bytes, const FileStamp& stamp) {
    m_pWatch->Remember(path, bytes, stamp);
}

void CDocument::CheckFileOnDisk() {
    if (m_bCheckingDisk || m_bClosing || !m_pWatch->IsUntold()) {
        return;
    }
    m_bCheckingDisk = true;
    m_pWatch->MarkTold();
    const QString path = m_pWatch->Remembered().path;
    if (m_pWatch->Compare() == FileWatch::Disk::Gone) {
        Ui().ShowMessage(
            tr("הקובץ %1 נמחק או הועבר ממקומו על ידי תוכנה אחרת.\nהמסמך נשאר פתוח ומסומן "
               "כשונה: שמור אותו כדי לא לאבד אותו.")
                .arg(Isolated(path)));
        SetDocModified(true);
    } else if (!IsModified() ||
               Ui().AskChoice(tr("הקובץ %1 שונה על ידי תוכנה אחרת.\nלטעון אותו מחדש ולאבד את "
                                 "השינויים שלך, או להשאיר את השינויים שלך?")
                                  .arg(Isolated(path)),
                              tr("טען מחדש"), tr("השאר את השינויים"))) {
        ReloadFromDisk();
    }
    m_bCheckingDisk = false;
}

bool CDocument::ReloadFromDisk() {
    if (m_strPathName.isEmpty() || !OnOpenDocument(m_strPathName)) {
        return false;
    }
    for (CView* view : m_views) {
        view->OnInitialUpdate();
    }
    return true;
}

bool CDocument::ConfirmOverwrite(const QString& target) {
    if (!m_pWatch->IsWatching() ||
        QFileInfo(target).absoluteFilePath() != m_pWatch->Remembered().path ||
        m_pWatch->Compare() != FileWatch::Disk::Changed) {
        return true;
    }
    return Ui().AskChoice(tr("הקובץ %1 שונה על ידי תוכנה אחרת מאז שנפתח או נשמר כאן.\nלשמור "
                             "בכל זאת ולהחליף את הגרסה שלה?")
                              .arg(Isolated(target)),
                          tr("&כן"), tr("&לא"));
}

QString CDocument::AskSavePath() {
    FileDialogRequest request;
    request.defaultName =
        m_strPathName.isEmpty() ? m_strTitle : QFileInfo(m_strPathName).fileName();
    request.filter = QStringLiteral("All files (*.*)|*.*||");
    return Ui().AskSaveFileName(request).value_or(QString());
}

bool CDocument::DoSave(const QString& path, bool replace) {
    QString target = path;
    if (target.isEmpty()) {
        target = AskSavePath();
        if (target.isEmpty()) {
            return false;  // cancelled
        }
    }
    if (!ConfirmOverwrite(target)) {
        return false;  // the document keeps its edits, the file its content
    }
    // Only a save that makes the path the document's own changes the file
    // the document watches.
    const FileWatch::Known watched = m_pWatch->Remembered();
    if (!OnSaveDocument(target)) {
        return false;
    }
    if (replace) {
        SetPathName(target);
    } else {
        m_pWatch->Restore(watched);
    }
    return true;
}

bool CDocument::DoFileSave() {
    return DoSave(m_strPathName);
}

bool CDocument::SaveModified() {
    if (!m_bModified) {
        return true;
    }
    switch (Ui().AskSaveChanges(m_strTitle)) {
        case SaveChangesAnswer::Save:
            return DoFileSave();
        case SaveChangesAnswer::Discard:
            return true;
        case SaveChangesAnswer::Cancel:
            return false;
    }
    return false;
}

bool CDocument::OnCmdMsg(int id) {
    switch (id) {
        case CommandId::FileClose:
            if (SaveModified()) {
                OnCloseDocument();
            }
            return true;
        case CommandId::FileSave:
            DoFileSave();
            return true;
        case CommandId::FileSaveAs:
            DoSave(QString());
            return true;
        default:
            return false;
    }
}

bool CDocument::OnUpdateCmdMsg(CCmdUI& ui) {
    switch (ui.ID()) {
        case CommandId::FileClose:
        case CommandId::FileSave:
        case CommandId::FileSaveAs:
            ui.Enable(true);
            return true;
        default:
            return false;
    }
}
