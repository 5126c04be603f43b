#include "view/gotolinedialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "framework/uiservices.h"

CGoToLineDialog::CGoToLineDialog(QWidget* parent)
    : QDialog(parent), m_pLineEdit(new QLineEdit(this)) {
    setWindowTitle(tr("לך לשורה"));
    setLayoutDirection(Qt::RightToLeft);

    auto* label = new QLabel(tr("לך לשורה מספר:"), this);
    label->setBuddy(m_pLineEdit);
    m_pLineEdit->setObjectName(QStringLiteral("lineNumber"));  // control 1003

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("אישור"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("ביטול"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGoToLineDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CGoToLineDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_pLineEdit, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

void CGoToLineDialog::showEvent(QShowEvent* event) {
    m_pLineEdit->setText(QString::number(m_nLineNumber));
    m_pLineEdit->selectAll();
    m_pLineEdit->setFocus();
    QDialog::showEvent(event);
}

void CGoToLineDialog::accept() {
    bool isNumber = false;
    const int number = m_pLineEdit->text().trimmed().toInt(&isNumber);
    if (!isNumber) {
        Ui().ShowMessage(tr("יש להזין מספר שלם."));
        m_pLineEdit->selectAll();
        m_pLineEdit->setFocus();
        return;
    }
    m_nLineNumber = number;
    QDialog::accept();
}
