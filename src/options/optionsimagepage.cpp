#include "options/optionsimagepage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "options/optionsconversion.h"

COptionsImagePage::COptionsImagePage(QWidget* parent) : COptionsPage(parent) {
    auto* heading = new QLabel(tr("בהכנסת תג תמונה, השתמש במאפיינים הבאים בתג:"), this);
    heading->setWordWrap(true);
    m_pWidth = MakeCheck("1018", tr("Width"));
    m_pHeight = MakeCheck("1019", tr("Height"));
    m_pBorder = MakeCheck("1020", tr("Border ="));
    m_pBorderValue = MakeNumberEdit("1021");
    m_pBorderValue->setMaxLength(3);
    m_pAlt = MakeCheck("1022", tr("Alt"));
    m_pTitle = MakeCheck("1023", tr("Title"));
    m_pId = MakeCheck("1024", tr("ID"));
    m_pImageDisplay = MakeCheck("1016", tr("הצג מסך זה בכל הוספת תמונה"));
    for (QCheckBox* unbound : {m_pAlt, m_pTitle, m_pId}) {
        unbound->setEnabled(false);
    }

    auto* layout = new QGridLayout(this);
    layout->addWidget(heading, 0, 0, 1, 3);
    layout->addWidget(m_pWidth, 1, 0);
    layout->addWidget(m_pHeight, 2, 0);
    layout->addWidget(m_pBorder, 3, 0);
    layout->addWidget(m_pBorderValue, 3, 1);
    layout->addWidget(m_pAlt, 4, 0);
    layout->addWidget(m_pTitle, 5, 0);
    layout->addWidget(m_pId, 6, 0);
    layout->addWidget(m_pImageDisplay, 7, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(8, 1);

    connect(m_pBorder, &QCheckBox::toggled, this, &COptionsImagePage::OnBorder);
}

bool COptionsImagePage::DoDataExchange(bool saveAndValidate) {
    ImageSettings& s = m_image;
    ExchangeCheck(saveAndValidate, m_pWidth, s.ImageWidth);
    ExchangeCheck(saveAndValidate, m_pBorder, s.ImageBorder);
    ExchangeCheck(saveAndValidate, m_pImageDisplay, s.ImageDisplay);
    ExchangeCheck(saveAndValidate, m_pHeight, s.ImageHeight);
    if (!ExchangeNumber(saveAndValidate, m_pBorderValue, s.ImageBValue, "ImageBValue")) {
        return false;
    }
    if (!saveAndValidate) {
        m_pAlt->setChecked(IsFlagOn(s.ImageAlt));
        m_pTitle->setChecked(IsFlagOn(s.ImageTitle));
        m_pId->setChecked(IsFlagOn(s.ImageId));
    }
    return true;
}

void COptionsImagePage::OnSetActive() {
    COptionsPage::OnSetActive();
    OnBorder();
}

void COptionsImagePage::OnBorder() {
    m_pBorderValue->setEnabled(m_pBorder->isChecked());
}
