#pragma once

// What the insert-table dialog shows and gives back: the table's size, and
// whether the user left it for the options sheet's table page.
struct InsertTableValues {
    static constexpr int kMinRows = 1;
    static constexpr int kMaxRows = 50;
    static constexpr int kMinColumns = 1;
    static constexpr int kMaxColumns = 20;

    int rows = 1;
    int columns = 1;
    bool showSettings = false;
};

// The insert-table dialog "הוספת טבלה" as the document sees it: shown modally
// on the values. Returns true when the user confirmed a valid size (rows and
// columns then hold it); false when the dialog was cancelled, with
// showSettings true when the settings button "הגדרות" closed it. The user
// interface installs the real dialog; tests install their own.
class IInsertTableDialog {
public:
    virtual ~IInsertTableDialog() = default;
    virtual bool Run(InsertTableValues& values) = 0;
};

void SetInsertTableDialog(IInsertTableDialog* dialog);
IInsertTableDialog* GetInsertTableDialog();
