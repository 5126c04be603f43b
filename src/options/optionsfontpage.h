#pragma once

#include "document/settings.h"
#include "options/optionspage.h"

class QCheckBox;
class QPushButton;
class QTextEdit;

// Page 1, "פונט תצוגה": the fonts of text and code, and whether code is
// coloured apart when a file is opened.
//
// The font dialog has no colour, so "ערוך" asks in two steps: the font dialog
// with the current font, then the colour dialog with the current colour.
// Cancelling the font dialog leaves the font setting as it was (and skips the
// colour); cancelling the colour dialog takes the chosen font and keeps the
// former colour.
class COptionsFontPage : public COptionsPage {
    Q_OBJECT

public:
    explicit COptionsFontPage(QWidget* parent = nullptr);

    bool DoDataExchange(bool saveAndValidate) override;
    void OnSetActive() override;

    FontSettings m_codeFont;
    FontSettings m_textFont;
    bool m_bShowSyntax = false;

private:
    void OnEditTextFont();  // 1027
    void OnEditCodeFont();  // 1030
    void ChooseFont(FontSettings& format);
    // Each sample shows its font's name and size in that font; the text
    // sample first, then the code sample.
    void RefreshSamples();
    static void ShowSample(QTextEdit* sample, const FontSettings& format);

    QTextEdit* m_pCodeSample;  // 1029
    QTextEdit* m_pTextSample;  // 1028
    QCheckBox* m_pShowSyntax;  // 1031
    QPushButton* m_pEditText;  // 1027
    QPushButton* m_pEditCode;  // 1030
};
