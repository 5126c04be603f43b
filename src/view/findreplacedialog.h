#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;

// One request from a find or replace dialog to its view.
struct FindReplaceRequest {
    QString findWhat;
    QString replaceWith;  // replace dialog only
    bool findNext = false;
    bool replaceCurrent = false;
    bool replaceAll = false;
    bool isTerminating = false;  // the dialog is closing: its last request
    bool matchCase = false;
    bool wholeWord = false;
};

// The modeless find dialog, or with replace its replace dialog, laid out
// right to left. Every search runs forward (there are no direction buttons).
// Each button sends a request; closing sends a last one, and the dialog
// deletes itself.
class CFindReplaceDialog : public QDialog {
    Q_OBJECT

public:
    enum class Kind { Find, Replace };

    CFindReplaceDialog(Kind kind, const QString& findWhat, QWidget* parent);

    Kind GetKind() const { return m_kind; }
    QString GetFindString() const;
    void SetFindString(const QString& findWhat);

    QLineEdit* FindEdit() const { return m_pFindEdit; }
    QLineEdit* ReplaceEdit() const { return m_pReplaceEdit; }  // null in a find dialog
    QCheckBox* MatchCaseBox() const { return m_pMatchCase; }
    QCheckBox* WholeWordBox() const { return m_pWholeWord; }
    QPushButton* FindNextButton() const { return m_pFindNext; }
    QPushButton* ReplaceButton() const { return m_pReplace; }        // null in a find dialog
    QPushButton* ReplaceAllButton() const { return m_pReplaceAll; }  // null in a find dialog

    void done(int result) override;

signals:
    void Request(const FindReplaceRequest& request);

private:
    FindReplaceRequest MakeRequest() const;
    void Send(bool FindReplaceRequest::*flag);
    void UpdateButtons();

    Kind m_kind;
    QLineEdit* m_pFindEdit;
    QLineEdit* m_pReplaceEdit = nullptr;
    QCheckBox* m_pWholeWord;
    QCheckBox* m_pMatchCase;
    QPushButton* m_pFindNext;
    QPushButton* m_pReplace = nullptr;
    QPushButton* m_pReplaceAll = nullptr;
    bool m_bTerminated = false;
};
