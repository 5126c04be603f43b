#pragma once

#include "document/settings.h"
#include "options/optionspage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
struct FileDialogRequest;

// Page 4, "צפיה בדפדפן": how a page is previewed.
class COptionsBrowsePage : public COptionsPage {
    Q_OBJECT

public:
    explicit COptionsBrowsePage(QWidget* parent = nullptr);

    bool DoDataExchange(bool saveAndValidate) override;
    void OnSetActive() override;

    BrowseSettings m_browse;

private:
    // What the "..." button asks the file dialog for, given the program
    // chosen so far.
    static FileDialogRequest BrowserProgramRequest(const QString& current);
    // "..." follows 1023.
    void OnBrowseExternal();
    // "...": the user picks the browser program.
    void OnBrowseFile();

    QCheckBox* m_pBrowseDisplay;   // 1016
    QCheckBox* m_pBrowseExternal;  // 1023
    QLineEdit* m_pBrowseFile;      // 1024, never enabled
    QLineEdit* m_pBrowseMeta;      // 1022
    QPushButton* m_pChooseFile;    // 1025
};
