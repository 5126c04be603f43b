#include "options/optionsfontpage.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>

#include "framework/displaytext.h"
#include "options/optionsconversion.h"
#include "view/hebview.h"

namespace {

QTextEdit* MakeSample(QWidget* parent, const char* id) {
    auto* sample = new QTextEdit(parent);
    sample->setObjectName(QString::fromLatin1(id));
    sample->setReadOnly(true);
    sample->setLineWrapMode(QTextEdit::NoWrap);
    sample->setFocusPolicy(Qt::NoFocus);
    // Room for a line of the sample in a large font, not the editor-sized
    // box a text edit asks for by default (which made the whole sheet tall).
    QFont large = sample->font();
    large.setPointSize(20);
    const int frame = 2 * sample->frameWidth();
    sample->setFixedHeight(QFontMetrics(large).lineSpacing() * 2 + frame);
    sample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return sample;
}

}  // namespace

COptionsFontPage::COptionsFontPage(QWidget* parent) : COptionsPage(parent) {
    auto* codeLabel = new QLabel(tr("פונט קוד:"), this);
    m_pCodeSample = MakeSample(this, "1029");
    m_pEditCode = MakeButton("1030", tr("ערוך"));
    auto* textLabel = new QLabel(tr("פונט טקסט:"), this);
    m_pTextSample = MakeSample(this, "1028");
    m_pEditText = MakeButton("1027", tr("ערוך"));
    m_pShowSyntax = MakeCheck("1031", tr("הצג צבע שונה לקוד וטקסט בפתיחת קבצים"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(codeLabel, 0, 0, 1, 2);
    layout->addWidget(m_pCodeSample, 1, 0);
    layout->addWidget(m_pEditCode, 1, 1, Qt::AlignTop);
    layout->addWidget(textLabel, 2, 0, 1, 2);
    layout->addWidget(m_pTextSample, 3, 0);
    layout->addWidget(m_pEditText, 3, 1, Qt::AlignTop);
    layout->addWidget(m_pShowSyntax, 4, 0, 1, 2);
    layout->setColumnStretch(0, 1);

    connect(m_pEditText, &QPushButton::clicked, this, &COptionsFontPage::OnEditTextFont);
    connect(m_pEditCode, &QPushButton::clicked, this, &COptionsFontPage::OnEditCodeFont);
}

bool COptionsFontPage::DoDataExchange(bool saveAndValidate) {
    if (saveAndValidate) {
        m_bShowSyntax = m_pShowSyntax->isChecked();
    } else {
        m_pShowSyntax->setChecked(m_bShowSyntax);
    }
    return true;
}

void COptionsFontPage::OnSetActive() {
    COptionsPage::OnSetActive();
    RefreshSamples();
}

void COptionsFontPage::OnEditTextFont() {
    ChooseFont(m_textFont);
}

void COptionsFontPage::OnEditCodeFont() {
    ChooseFont(m_codeFont);
}

void COptionsFontPage::ChooseFont(FontSettings& format) {
    // Qt's own dialogs, not the desktop's: they follow the program's
    // right-to-left layout.
    QFontDialog fontDialog(FontForDialog(format), this);
    fontDialog.setOption(QFontDialog::DontUseNativeDialog);
    if (fontDialog.exec() == QDialog::Accepted) {
        const QFont font = fontDialog.selectedFont();
        // The colour belongs to the same choice: its dialog follows at once
        // and says whose colour it is.
        QColorDialog colourDialog(ColourOf(format), this);
        colourDialog.setOption(QColorDialog::DontUseNativeDialog);
        colourDialog.setWindowTitle(
            tr("צבע הטקסט בפונט %1").arg(FirstStrongIsolate(font.family())));
        const QColor colour =
            colourDialog.exec() == QDialog::Accepted ? colourDialog.selectedColor() : QColor();
        format = ChosenFont(format, font, colour);
    }
    RefreshSamples();
}

void COptionsFontPage::RefreshSamples() {
    ShowSample(m_pTextSample, m_textFont);
    ShowSample(m_pCodeSample, m_codeFont);
}

void COptionsFontPage::ShowSample(QTextEdit* sample, const FontSettings& format) {
    const QTextCharFormat charFormat = CHebView::CharFormatFromFont(format);
    sample->clear();
    sample->document()->setDefaultFont(charFormat.font());
    sample->setCurrentCharFormat(charFormat);
    QTextCursor cursor(sample->document());
    cursor.insertText(SampleText(format), charFormat);
}
