#pragma once

#include <QMdiSubWindow>
#include <QPointer>

#include "framework/cmdtarget.h"

class CDocTemplate;
class CDocument;
class CView;

// The window of one view of a document, editor and preview documents alike.
// Its title is the document's title (numbered ":1", ":2" while the document
// has more than one window); closing the last window of a document closes the
// document, after asking to save it.
class CChildFrame : public QMdiSubWindow, public CCmdTarget {
    Q_OBJECT

public:
    CChildFrame(CDocTemplate* docTemplate, CView* view, QWidget* parent = nullptr);
    ~CChildFrame() override;

    // Null once the window is closing.
    CView* GetView() const { return m_pView; }
    CDocument* GetDocument() const;
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    // The menu shown while this window is active (the template's resource).
    int MenuResource() const;
    // True from the moment the window has agreed to close.
    bool IsClosing() const { return m_bClosing; }

    void UpdateTitle();
    // The document is closing: the view goes away before the document does,
    // and the window closes (unless it is already doing so).
    void CloseForDocument();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnWindowStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);
    // Schedules the view's deletion and leaves the route.
    void ReleaseView();

    CDocTemplate* m_pDocTemplate;
    CView* m_pView;
    QPointer<QWidget> m_pViewWidget;
    QPointer<CDocument> m_pDocument;
    bool m_bClosing = false;
    bool m_bInCloseEvent = false;
};
