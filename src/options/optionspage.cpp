#include "options/optionspage.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "framework/uiservices.h"
#include "options/optionsconversion.h"

COptionsPage::COptionsPage(QWidget* parent) : QWidget(parent) {}

void COptionsPage::OnSetActive() {
    DoDataExchange(false);
}

bool COptionsPage::OnKillActive() {
    m_pRefusedField = nullptr;
    m_strRefusal.clear();
    return DoDataExchange(true);
}

void COptionsPage::ReportRefusal() {
    if (m_strRefusal.isEmpty()) {
        return;
    }
    Ui().ShowMessage(m_strRefusal);
    if (m_pRefusedField != nullptr) {
        m_pRefusedField->setFocus(Qt::OtherFocusReason);
        m_pRefusedField->selectAll();
    }
}

void COptionsPage::ExchangeCheck(bool saveAndValidate, QCheckBox* box, int& flag) {
    if (saveAndValidate) {
        flag = FlagFromCheck(box->isChecked());
    } else {
        box->setChecked(IsFlagOn(flag));
    }
}

bool COptionsPage::ExchangeText(bool saveAndValidate, QLineEdit* edit, std::string& text) {
    if (!saveAndValidate) {
        edit->setText(TextFromProfile(text));
        return true;
    }
    std::string value = TextToProfile(edit->text());
    if (!HoldsLineEnd(value)) {
        text = std::move(value);
        return true;
    }
    if (!edit->isEnabled()) {
        return true;
    }
    m_pRefusedField = edit;
    m_strRefusal = LineEndMessage();
    return false;
}

bool COptionsPage::ExchangeNumber(bool saveAndValidate, QLineEdit* edit, int& value, int min,
                                  int max) {
    if (!saveAndValidate) {
        edit->setText(QString::number(value));
        return true;
    }
    const std::optional<int> number = ParseWholeNumber(edit->text(), min, max);
    if (number) {
        value = *number;
        return true;
    }
    if (!edit->isEnabled()) {
        return true;
    }
    m_pRefusedField = edit;
    m_strRefusal = WholeNumberMessage(min, max);
    return false;
}

QLabel* COptionsPage::MakeLabel(const char* id, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(id));
    return label;
}

QCheckBox* COptionsPage::MakeCheck(const char* id, const QString& text) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::fromLatin1(id));
    return box;
}

QLineEdit* COptionsPage::MakeEdit(const char* id) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(id));
    return edit;
}

QLineEdit* COptionsPage::MakeNumberEdit(const char* id) {
    QLineEdit* edit = MakeEdit(id);
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    edit->setValidator(new QRegularExpressionValidator(digits, edit));
    return edit;
}

QPushButton* COptionsPage::MakeButton(const char* id, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(id));
    button->setAutoDefault(false);
    return button;
}
