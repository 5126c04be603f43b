#include "view/findreplacedialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CFindReplaceDialog::CFindReplaceDialog(Kind kind, const QString& findWhat, QWidget* parent)
    : QDialog(parent),
      m_kind(kind),
      m_pFindEdit(new QLineEdit(findWhat, this)),
      m_pWholeWord(new QCheckBox(tr("התאם מילה שלמה בלבד"), this)),
      m_pMatchCase(new QCheckBox(tr("התאם רישיות"), this)),
      m_pFindNext(new QPushButton(tr("חפש את הבא"), this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setLayoutDirection(Qt::RightToLeft);
    setWindowTitle(kind == Kind::Find ? tr("חיפוש") : tr("החלפה"));

    auto* fields = new QGridLayout;
    auto* findLabel = new QLabel(tr("חפש את:"), this);
    findLabel->setBuddy(m_pFindEdit);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_pFindEdit, 0, 1);
    if (kind == Kind::Replace) {
        m_pReplaceEdit = new QLineEdit(this);
        auto* replaceLabel = new QLabel(tr("החלף ב:"), this);
        replaceLabel->setBuddy(m_pReplaceEdit);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(m_pReplaceEdit, 1, 1);
    }
    fields->addWidget(m_pWholeWord, 2, 0, 1, 2);
    fields->addWidget(m_pMatchCase, 3, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    m_pFindNext->setDefault(true);
    buttons->addWidget(m_pFindNext);
    connect(m_pFindNext, &QPushButton::clicked, this,
            [this] { Send(&FindReplaceRequest::findNext); });
    if (kind == Kind::Replace) {
        m_pReplace = new QPushButton(tr("החלף"), this);
        m_pReplaceAll = new QPushButton(tr("החלף הכל"), this);
        buttons->addWidget(m_pReplace);
        buttons->addWidget(m_pReplaceAll);
        connect(m_pReplace, &QPushButton::clicked, this,
                [this] { Send(&FindReplaceRequest::replaceCurrent); });
        connect(m_pReplaceAll, &QPushButton::clicked, this,
                [this] { Send(&FindReplaceRequest::replaceAll); });
    }
    auto* cancel = new QPushButton(tr("ביטול"), this);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    connect(cancel, &QPushButton::clicked, this, &CFindReplaceDialog::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    // Tab follows reading order: the fields column from the top, then the
    // buttons column (the widgets were created in another order).
    QList<QWidget*> chain{m_pFindEdit};
    if (m_pReplaceEdit != nullptr) {
        chain.append(m_pReplaceEdit);
    }
    chain.append({m_pWholeWord, m_pMatchCase, m_pFindNext});
    if (m_pReplace != nullptr) {
        chain.append({m_pReplace, m_pReplaceAll});
    }
    chain.append(cancel);
    for (qsizetype i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }

    connect(m_pFindEdit, &QLineEdit::textChanged, this, &CFindReplaceDialog::UpdateButtons);
    UpdateButtons();
    m_pFindEdit->selectAll();
    m_pFindEdit->setFocus();
}

QString CFindReplaceDialog::GetFindString() const {
    return m_pFindEdit->text();
}

void CFindReplaceDialog::SetFindString(const QString& findWhat) {
    m_pFindEdit->setText(findWhat);
    m_pFindEdit->selectAll();
}

void CFindReplaceDialog::UpdateButtons() {
    const bool hasText = !m_pFindEdit->text().isEmpty();
    for (QPushButton* button : {m_pFindNext, m_pReplace, m_pReplaceAll}) {
        if (button != nullptr) {
            button->setEnabled(hasText);
        }
    }
}

FindReplaceRequest CFindReplaceDialog::MakeRequest() const {
    FindReplaceRequest request;
    request.findWhat = m_pFindEdit->text();
    if (m_pReplaceEdit != nullptr) {
        request.replaceWith = m_pReplaceEdit->text();
    }
    request.matchCase = m_pMatchCase->isChecked();
    request.wholeWord = m_pWholeWord->isChecked();
    return request;
}

void CFindReplaceDialog::Send(bool FindReplaceRequest::*flag) {
    FindReplaceRequest request = MakeRequest();
    request.*flag = true;
    emit Request(request);
}

void CFindReplaceDialog::done(int result) {
    // However the dialog closes (the cancel button, Escape, the window's
    // close button), the view hears of it once.
    if (!m_bTerminated) {
        m_bTerminated = true;
        Send(&FindReplaceRequest::isTerminating);
    }
    QDialog::done(result);
}
