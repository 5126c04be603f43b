#include "options/optionspage2.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

COptionsPage2::COptionsPage2(QWidget* parent) : COptionsPage(parent) {
    auto* heading = new QLabel(tr("בהוספת טבלה או בהדבקת טבלה, השתמש בתגים הבאים:"), this);
    heading->setWordWrap(true);
    m_pTableTag = MakeEdit("1017");
    m_pTRTag = MakeEdit("1018");
    m_pTDTag = MakeEdit("1019");
    m_pTableDisplay = MakeCheck("1016", tr("הצג מסך זה בכל הכנסת טבלה"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(heading, 0, 0, 1, 2);
    const auto addRow = [&](int row, const QString& text, QLineEdit* edit) {
        auto* label = new QLabel(text, this);
        label->setBuddy(edit);
        layout->addWidget(label, row, 0);
        layout->addWidget(edit, row, 1);
    };
    addRow(1, tr("טבלה:"), m_pTableTag);
    addRow(2, tr("שורה:"), m_pTRTag);
    addRow(3, tr("תא:"), m_pTDTag);
    layout->addWidget(m_pTableDisplay, 4, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(5, 1);
}

bool COptionsPage2::DoDataExchange(bool saveAndValidate) {
    TableSettings& s = m_table;
    ExchangeCheck(saveAndValidate, m_pTableDisplay, s.TableDisplay);
    return ExchangeText(saveAndValidate, m_pTableTag, s.TableTag) &&
           ExchangeText(saveAndValidate, m_pTRTag, s.TRTag) &&
           ExchangeText(saveAndValidate, m_pTDTag, s.TDTag);
}
