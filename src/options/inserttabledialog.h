#pragma once

#include <QDialog>

#include "document/insertdialogs.h"

class QLineEdit;
class QPushButton;

// The dialog "הוספת טבלה": the number of rows (1000, 1 to 50) and of columns
// (1001, 1 to 20) of a new table, with OK, Cancel and "הגדרות" (1002), which
// closes the dialog as Cancel does and asks for the options sheet's table
// page. The boxes are filled from the members when the dialog is shown; OK
// stores them, columns first, and a refused value keeps the dialog open on
// its box. Controls carry their dialog ids as object names.
class CInsertTableDialog : public QDialog {
    Q_OBJECT

public:
    explicit CInsertTableDialog(QWidget* parent = nullptr);

    // Members from boxes (saveAndValidate true) or boxes from members. False
    // when a value was refused; the user has then been told, and the box
    // holds the caret with its text selected.
    bool DoDataExchange(bool saveAndValidate);

    void accept() override;

    bool m_bShowSettings = false;
    int m_nColumns = 0;
    int m_nRows = 0;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A whole number between min and max from the box, else a refusal.
    bool ExchangeNumber(bool saveAndValidate, QLineEdit* edit, int& value, int min, int max);
    void OnSettings();

    QLineEdit* m_pRows;     // 1000
    QLineEdit* m_pColumns;  // 1001
    bool m_bFilled = false;
};

// The insert-table dialog the application installs: CInsertTableDialog, run
// modally over the active window.
class QtInsertTableDialog : public IInsertTableDialog {
public:
    bool Run(InsertTableValues& values) override;
};
