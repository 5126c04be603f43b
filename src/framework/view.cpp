#include "framework/view.h"

#include "framework/document.h"

CView::CView(CDocument* document) : m_pDocument(document) {
    if (m_pDocument != nullptr) {
        m_pDocument->AddView(this);
    }
}

CView::~CView() {
    if (m_pDocument != nullptr) {
        m_pDocument->RemoveView(this);
    }
}
