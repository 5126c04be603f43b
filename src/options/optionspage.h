#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// A page of the options sheet. The page keeps the values it edits in its own
// members; its controls are filled from them when the page becomes the
// visible one, and the members are filled from the controls when the user
// leaves the page or confirms the sheet. A value the page refuses keeps the
// user on the page until it is corrected.
//
// Controls carry their dialog ids as object names ("1007").
class COptionsPage : public QWidget {
    Q_OBJECT

public:
    explicit COptionsPage(QWidget* parent = nullptr);

    // Controls from members (saveAndValidate false), or members from controls
    // (true). Returns false when a value was refused; the members may then be
    // partly stored, and ReportRefusal tells the user what to correct.
    virtual bool DoDataExchange(bool saveAndValidate) = 0;

    // The page becomes the visible one: controls from the members, then the
    // page's own work (enabling, samples).
    virtual void OnSetActive();
    // The user leaves the page or confirms the sheet: members from controls.
    bool OnKillActive();

    // A message about the last refused value, then the caret in its field
    // with the field's text selected.
    void ReportRefusal();

protected:
    // The exchanges of one control each, in both directions.
    void ExchangeCheck(bool saveAndValidate, QCheckBox* box, int& flag);
    // Text without line ends: the profile cannot keep one. A disabled field
    // holding one keeps the member's value, as a disabled number does.
    bool ExchangeText(bool saveAndValidate, QLineEdit* edit, std::string& text);
    // A whole number between min and max. A disabled field cannot be
    // corrected, so its text is taken only when it is valid; otherwise the
    // member keeps its value (a value given by a hand-edited profile stays).
    bool ExchangeNumber(bool saveAndValidate, QLineEdit* edit, int& value, int min, int max);

    // Controls named by their dialog ids.
    QLabel* MakeLabel(const char* id, const QString& text);
    QCheckBox* MakeCheck(const char* id, const QString& text);
    QLineEdit* MakeEdit(const char* id);
    // An edit box that takes digits only.
    QLineEdit* MakeNumberEdit(const char* id);
    QPushButton* MakeButton(const char* id, const QString& text);

private:
    QPointer<QLineEdit> m_pRefusedField;
    QString m_strRefusal;
};
