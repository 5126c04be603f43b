#pragma once

#include <QWidget>

#include "framework/view.h"

class CBrowseDoc;
class QLabel;

// The view of a preview document. It shows the address it was sent to.
class CBrowseView : public QWidget, public CView {
    Q_OBJECT

public:
    explicit CBrowseView(CBrowseDoc* document, QWidget* parent = nullptr);
    ~CBrowseView() override;

    QWidget* Widget() override { return this; }
    CBrowseDoc* GetBrowseDoc() const;

    // Shows the address; true once the view has been sent somewhere.
    bool Navigate(const QString& address);
    bool IsBrowserCreated() const { return m_bBrowserCreated; }
    QString ShownAddress() const;

private:
    QLabel* m_pAddress;
    bool m_bBrowserCreated = false;
};
