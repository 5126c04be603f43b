#pragma once

#include "framework/cmdtarget.h"

class CDocument;
class QWidget;

// What every view adds to its widget: the document it shows, its place in the
// command route, and the framework's first-display and activation steps.
class CView : public CCmdTarget {
public:
    explicit CView(CDocument* document);
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    virtual QWidget* Widget() = 0;

    // After the view's frame is shown for the first time.
    virtual void OnInitialUpdate() {}
    // When the view's frame becomes (true) or stops being (false) active.
    virtual void OnActivateView(bool activate) { (void)activate; }

    // The document goes away before its views: it detaches them first.
    void DetachDocument() { m_pDocument = nullptr; }

private:
    CDocument* m_pDocument;
};
