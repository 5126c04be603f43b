#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <string_view>

#include "framework/cmdtarget.h"

class CDocTemplate;
class CView;
class FileWatch;
struct FileStamp;

// The base of every document: its path, title and modified flag, its views,
// and the framework's new, open, save and close steps. Documents are owned by
// the framework and deleted when their last window closes.
class CDocument : public QObject, public CCmdTarget {
    Q_OBJECT

public:
    explicit CDocument(QObject* parent = nullptr);
    ~CDocument() override;

    const QString& GetPathName() const { return m_strPathName; }
    // Makes path the document's own: the title becomes its file name, and
    // with addToMRU the path enters the recent-file list.
    virtual void SetPathName(const QString& path, bool addToMRU = true);
    const QString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString& title);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);
    // The modified state as the user sees it; documents that mark their
    // title override this.
    virtual void SetDocModified(bool modified) { SetModifiedFlag(modified); }
    // True from the start of OnCloseDocument: the windows are going away.
    bool IsClosing() const { return m_bClosing; }

    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    void SetDocTemplate(CDocTemplate* docTemplate) { m_pDocTemplate = docTemplate; }

    const QList<CView*>& GetViews() const { return m_views; }
    CView* GetFirstView() const { return m_views.isEmpty() ? nullptr : m_views.first(); }
    void AddView(CView* view);
    void RemoveView(CView* view);

    // The framework's steps; true on success. A failure has been reported to
    // the user already.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const QString& path);
    virtual bool OnSaveDocument(const QString& path);
    // Closes every window of the document and deletes it (later).
    virtual void OnCloseDocument();
    // True while the template opens the document for a window that is shown
    // right after: OnOpenDocument may then leave work that is cheaper with the
    // window in place (filling a large text) to that window's first display.
    bool OpensIntoShownWindow() const { return m_bOpensIntoShownWindow; }
    void SetOpensIntoShownWindow(bool shown) { m_bOpensIntoShownWindow = shown; }

    // Saves to path, or asks for a path with the save dialog when path is
    // empty. With replace the document takes the new path as its own.
    bool DoSave(const QString& path, bool replace = true);
    // FileSave: saves to the document's path, asking for one if it has none.
    bool DoFileSave();
    // Asks whether to save a modified document before it closes; false when
    // the user cancels or the save fails.
    virtual bool SaveModified();

    // The document has read (stamp taken before the read) or written (stamp
    // taken after the write) bytes at path: from now on the file is watched
    // and compared with them.
    void RememberFile(const QString& path, std::string_view bytes, const FileStamp& stamp);
    FileWatch* Watch() const { return m_pWatch; }
    // Tells the user, once, that the file has changed or gone since the
    // document read or wrote it: an unmodified document reads it again, a
    // modified one asks whether to read it again (losing the edits) or keep
    // the edits; a file that went away leaves the document modified, so that
    // closing it asks to save. Run when the document's window becomes active.
    void CheckFileOnDisk();
    // Reads the file again, replacing the text; false when it cannot be read
    // (the user has been told, the text is as it was).
    virtual bool ReloadFromDisk();

    // Commands the framework handles for every document: close and save.
    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdMsg(CCmdUI& ui) override;

signals:
    void TitleChanged(const QString& title);
    void ModifiedChanged(bool modified);
    // The file changed on disk, or went away, and the user has not been told.
    void FileChangedOnDisk();

protected:
    // The file dialog of a plain save (untitled document or save as).
    virtual QString AskSavePath();

private:
    // Before a save over the document's own file: when another program has
    // changed it since it was read or written here, asks whether to replace
    // it. False: leave the file alone.
    bool ConfirmOverwrite(const QString& target);

    QString m_strPathName;
    QString m_strTitle;
    bool m_bModified = false;
    bool m_bClosing = false;
    CDocTemplate* m_pDocTemplate = nullptr;
    QList<CView*> m_views;
    FileWatch* m_pWatch;
    bool m_bCheckingDisk = false;
    bool m_bOpensIntoShownWindow = false;
};
