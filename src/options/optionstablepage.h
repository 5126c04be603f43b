#pragma once

#include "document/settings.h"
#include "options/optionspage.h"

class QCheckBox;
class QLineEdit;

// Page 2, "טבלה": the tags of inserted and pasted tables.
class COptionsTablePage : public COptionsPage {
    Q_OBJECT

public:
    explicit COptionsTablePage(QWidget* parent = nullptr);

    bool DoDataExchange(bool saveAndValidate) override;

    TableSettings m_table;

private:
    QLineEdit* m_pTableTag;      // 1017
    QLineEdit* m_pTRTag;         // 1018
    QCheckBox* m_pTableDisplay;  // 1016
    QLineEdit* m_pTDTag;         // 1019
};
