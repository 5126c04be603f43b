#pragma once

#include <QList>
#include <QString>
#include <functional>

class CDocument;
class CView;
class CDocTemplate;

// Whoever shows documents in windows: the main frame. The framework asks it to
// frame a new view and to bring an open document's window forward.
class IFrameHost {
public:
    virtual ~IFrameHost() = default;
    // Wraps the view in a child frame of the template's kind and shows it.
    virtual void AddFrame(CDocTemplate* docTemplate, CView* view, bool visible) = 0;
    // Makes the first window of the document the active one.
    virtual void ActivateDocument(CDocument* document) = 0;
    // Closes the window that shows the view (the view goes with it).
    virtual void CloseFrame(CView* view) = 0;
};

// A kind of document with its view: the editor template or the preview
// template. Templates are registered with the application in order and found
// by position.
class CDocTemplate {
public:
    using DocumentFactory = std::function<CDocument*()>;
    using ViewFactory = std::function<CView*(CDocument*)>;

    // baseName names untitled documents: baseName1, baseName2, ...
    CDocTemplate(int resourceId, QString baseName, DocumentFactory makeDocument,
                 ViewFactory makeView);

    int ResourceId() const { return m_nResourceId; }

    // Opens the file at path, or a new empty document when path is empty, in a
    // new window (shown when visible). A file already open has its window
    // brought forward instead. Null when the document could not be created or
    // read (the user has been told why).
    CDocument* OpenDocumentFile(const QString& path, bool visible = true);
    // A new view of an open document in a window of its own.
    CView* CreateNewWindow(CDocument* document);

    const QList<CDocument*>& Documents() const { return m_documents; }
    void RemoveDocument(CDocument* document);

    static void SetFrameHost(IFrameHost* host);
    static IFrameHost* FrameHost();

private:
    int m_nResourceId;
    QString m_strBaseName;
    int m_nUntitledCount = 0;
    DocumentFactory m_makeDocument;
    ViewFactory m_makeView;
    QList<CDocument*> m_documents;
};
