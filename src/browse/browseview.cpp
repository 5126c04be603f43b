#include "browse/browseview.h"

#include <QLabel>
#include <QVBoxLayout>

#include "browse/browsedoc.h"

CBrowseView::CBrowseView(CBrowseDoc* document, QWidget* parent)
    : QWidget(parent), CView(document), m_pAddress(new QLabel(this)) {
    // An address reads left to right whatever the layout around it.
    m_pAddress->setLayoutDirection(Qt::LeftToRight);
    m_pAddress->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pAddress->setTextFormat(Qt::PlainText);
    m_pAddress->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pAddress->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pAddress);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

CBrowseView::~CBrowseView() = default;

CBrowseDoc* CBrowseView::GetBrowseDoc() const {
    return static_cast<CBrowseDoc*>(GetDocument());
}

bool CBrowseView::Navigate(const QString& address) {
    m_pAddress->setText(address);
    m_bBrowserCreated = true;
    return true;
}

QString CBrowseView::ShownAddress() const {
    return m_pAddress->text();
}
