#pragma once

#include <QDialog>

class QLineEdit;

// The go-to-line dialog (dialog 132, "לך לשורה"): one line number, 1-based,
// exchanged with its edit field as a decimal integer. OK keeps the dialog
// open, with a message, while the field holds no integer.
class CGoToLineDialog : public QDialog {
    Q_OBJECT

public:
    explicit CGoToLineDialog(QWidget* parent = nullptr);

    // The line number: set before the dialog is shown, read after OK.
    int m_nLineNumber = 0;

    QLineEdit* LineEdit() const { return m_pLineEdit; }

    void accept() override;

protected:
    // The field shows the number, all of it selected, with the focus.
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_pLineEdit;
};
