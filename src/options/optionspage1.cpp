#include "options/optionspage1.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

COptionsPage1::COptionsPage1(QWidget* parent) : COptionsPage(parent) {
    m_pBreakLines = MakeCheck("1005", tr("שבירת שורות"));
    m_pBreakLinesAtLabel = MakeLabel("1006", tr("אורך שורה:"));
    m_pBreakLinesAt = MakeNumberEdit("1007");
    m_pAddToBrokenLineLabel = MakeLabel("1009", tr("הוסף לשורה:"));
    m_pAddToBrokenLine = MakeEdit("1008");
    m_pAddToHebParagraph = MakeCheck("1010", tr("הוסף לפסקה עברית"));
    m_pBeforeLabel = MakeLabel("1011", tr("לפני:"));
    m_pBeforeHebParagraph = MakeEdit("1012");
    m_pAfterLabel = MakeLabel("1014", tr("אחרי:"));
    m_pAfterHebParagraph = MakeEdit("1013");
    m_pTwoCRLFPara = MakeCheck("1017", tr("החלף 2 CRLF בתגית P"));
    m_pRemoveTag = MakeCheck("1015", tr("הסר תווי טאב בהמרה ל-HTML"));
    m_pConvertDisplay = MakeCheck("1016", tr("הצג מסך זה בכל פעולת המרה לויזואלי"));

    m_pBreakLinesAtLabel->setBuddy(m_pBreakLinesAt);
    m_pAddToBrokenLineLabel->setBuddy(m_pAddToBrokenLine);
    m_pBeforeLabel->setBuddy(m_pBeforeHebParagraph);
    m_pAfterLabel->setBuddy(m_pAfterHebParagraph);
    m_pBreakLinesAt->setMaxLength(3);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_pBreakLines, 0, 0, 1, 4);
    layout->addWidget(m_pBreakLinesAtLabel, 1, 0);
    layout->addWidget(m_pBreakLinesAt, 1, 1);
    layout->addWidget(m_pAddToBrokenLineLabel, 2, 0);
    layout->addWidget(m_pAddToBrokenLine, 2, 1, 1, 3);
    layout->addWidget(m_pAddToHebParagraph, 3, 0, 1, 4);
    layout->addWidget(m_pBeforeLabel, 4, 0);
    layout->addWidget(m_pBeforeHebParagraph, 4, 1);
    layout->addWidget(m_pAfterLabel, 4, 2);
    layout->addWidget(m_pAfterHebParagraph, 4, 3);
    layout->addWidget(m_pTwoCRLFPara, 5, 0, 1, 4);
    layout->addWidget(m_pRemoveTag, 6, 0, 1, 4);
    layout->addWidget(m_pConvertDisplay, 7, 0, 1, 4);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
    layout->setRowStretch(8, 1);

    connect(m_pBreakLines, &QCheckBox::toggled, this, &COptionsPage1::OnBreakLines);
    connect(m_pAddToHebParagraph, &QCheckBox::toggled, this, &COptionsPage1::OnAddToHebParagraph);
}

bool COptionsPage1::DoDataExchange(bool saveAndValidate) {
    ConversionSettings& s = m_conversion;
    if (!ExchangeNumber(saveAndValidate, m_pBreakLinesAt, s.BreakLinesAt, kMinBreakLinesAt,
                        kMaxBreakLinesAt)) {
        return false;
    }
    ExchangeCheck(saveAndValidate, m_pBreakLines, s.BreakLines);
    ExchangeCheck(saveAndValidate, m_pAddToHebParagraph, s.AddToHebParagraph);
    ExchangeCheck(saveAndValidate, m_pRemoveTag, s.RemoveTag);
    ExchangeCheck(saveAndValidate, m_pConvertDisplay, s.ConvertDisplay);
    ExchangeCheck(saveAndValidate, m_pTwoCRLFPara, s.TwoCRLFPara);
    return ExchangeText(saveAndValidate, m_pBeforeHebParagraph, s.BeforeHebParagraph) &&
           ExchangeText(saveAndValidate, m_pAfterHebParagraph, s.AfterHebParagraph) &&
           ExchangeText(saveAndValidate, m_pAddToBrokenLine, s.AddToBrokenLine);
}

void COptionsPage1::OnSetActive() {
    COptionsPage::OnSetActive();
    OnBreakLines();
    OnAddToHebParagraph();
}

void COptionsPage1::OnBreakLines() {
    const bool on = m_pBreakLines->isChecked();
    m_pBreakLinesAtLabel->setEnabled(on);
    m_pBreakLinesAt->setEnabled(on);
    m_pAddToBrokenLine->setEnabled(on);
    m_pAddToBrokenLineLabel->setEnabled(on);
}

void COptionsPage1::OnAddToHebParagraph() {
    const bool on = m_pAddToHebParagraph->isChecked();
    m_pBeforeLabel->setEnabled(on);
    m_pBeforeHebParagraph->setEnabled(on);
    m_pAfterHebParagraph->setEnabled(on);
    m_pAfterLabel->setEnabled(on);
}
