#pragma once

#include "document/settings.h"
#include "options/optionspage.h"

class QCheckBox;
class QLineEdit;

// Page 3, "תמונה": the attributes of an inserted image tag.
//
// The boxes "Alt", "Title" and "ID" (1022 to 1024) are bound to no value the
// user can change here: ImageAlt, ImageTitle and ImageId (profile value
// "szImageId") are set only by editing the profile. So that the page does
// not hide what the image command will write, the boxes show those three
// flags of the record, and are disabled, so that they do not pretend to edit
// them. The record passes through the page with the three flags untouched.
class COptionsImagePage : public COptionsPage {
    Q_OBJECT

public:
    explicit COptionsImagePage(QWidget* parent = nullptr);

    bool DoDataExchange(bool saveAndValidate) override;
    void OnSetActive() override;

    ImageSettings m_image;

private:
    // 1021 follows 1020.
    void OnBorder();

    QCheckBox* m_pWidth;         // 1018
    QCheckBox* m_pBorder;        // 1020
    QCheckBox* m_pImageDisplay;  // 1016
    QCheckBox* m_pHeight;        // 1019
    QLineEdit* m_pBorderValue;   // 1021
    QCheckBox* m_pAlt;           // 1022
    QCheckBox* m_pTitle;         // 1023
    QCheckBox* m_pId;            // 1024
};
