#pragma once

#include "convert/conversionsettings.h"
#include "options/optionspage.h"

class QCheckBox;
class QLabel;
class QLineEdit;

// Page 0, "המרה": how text is converted to visual HTML.
class COptionsConversionPage : public COptionsPage {
    Q_OBJECT

public:
    explicit COptionsConversionPage(QWidget* parent = nullptr);

    bool DoDataExchange(bool saveAndValidate) override;
    void OnSetActive() override;

    ConversionSettings m_conversion;

private:
    // The line-breaking group follows 1005, the paragraph group 1010.
    void OnBreakLines();
    void OnAddToHebParagraph();

    QLabel* m_pBreakLinesAtLabel;      // 1006
    QLineEdit* m_pBreakLinesAt;        // 1007
    QCheckBox* m_pBreakLines;          // 1005
    QCheckBox* m_pAddToHebParagraph;   // 1010
    QLabel* m_pBeforeLabel;            // 1011
    QLineEdit* m_pBeforeHebParagraph;  // 1012
    QLineEdit* m_pAfterHebParagraph;   // 1013
    QLabel* m_pAfterLabel;             // 1014
    QLineEdit* m_pAddToBrokenLine;     // 1008
    QLabel* m_pAddToBrokenLineLabel;   // 1009
    QCheckBox* m_pRemoveTag;           // 1015
    QCheckBox* m_pConvertDisplay;      // 1016
    QCheckBox* m_pTwoCRLFPara;         // 1017
};
