#include "options/inserttabledialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "framework/uiservices.h"
#include "options/optionsconversion.h"

namespace {

QLineEdit* MakeNumberEdit(QWidget* parent, const char* id) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(id));
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    edit->setValidator(new QRegularExpressionValidator(digits, edit));
    edit->setMaxLength(4);
    return edit;
}

}  // namespace

CInsertTableDialog::CInsertTableDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("הוספת טבלה"));
    setLayoutDirection(Qt::RightToLeft);

    m_pRows = MakeNumberEdit(this, "1000");
    m_pColumns = MakeNumberEdit(this, "1001");
    auto* rowsLabel = new QLabel(tr("מספר שורות:"), this);
    rowsLabel->setBuddy(m_pRows);
    auto* columnsLabel = new QLabel(tr("מספר עמודות:"), this);
    columnsLabel->setBuddy(m_pColumns);

    auto* ok = new QPushButton(tr("אישור"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("ביטול"), this);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->setAutoDefault(false);
    auto* settings = new QPushButton(tr("הגדרות"), this);
    settings->setObjectName(QStringLiteral("1002"));
    settings->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    buttons->addButton(settings, QDialogButtonBox::ActionRole);

    auto* fields = new QGridLayout;
    fields->addWidget(rowsLabel, 0, 0);
    fields->addWidget(m_pRows, 0, 1);
    fields->addWidget(columnsLabel, 1, 0);
    fields->addWidget(m_pColumns, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    connect(ok, &QPushButton::clicked, this, &CInsertTableDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CInsertTableDialog::reject);
    connect(settings, &QPushButton::clicked, this, &CInsertTableDialog::OnSettings);
}

bool CInsertTableDialog::DoDataExchange(bool saveAndValidate) {
    return ExchangeNumber(saveAndValidate, m_pColumns, m_nColumns, InsertTableValues::kMinColumns,
                          InsertTableValues::kMaxColumns) &&
           ExchangeNumber(saveAndValidate, m_pRows, m_nRows, InsertTableValues::kMinRows,
                          InsertTableValues::kMaxRows);
}

bool CInsertTableDialog::ExchangeNumber(bool saveAndValidate, QLineEdit* edit, int& value, int min,
                                        int max) {
    if (!saveAndValidate) {
        edit->setText(QString::number(value));
        return true;
    }
    if (const std::optional<int> number = ParseWholeNumber(edit->text(), min, max)) {
        value = *number;
        return true;
    }
    Ui().ShowMessage(WholeNumberMessage(min, max));
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
}

void CInsertTableDialog::showEvent(QShowEvent* event) {
    if (!m_bFilled) {
        m_bFilled = true;
        DoDataExchange(false);
    }
    QDialog::showEvent(event);
}

void CInsertTableDialog::accept() {
    if (DoDataExchange(true)) {
        QDialog::accept();
    }
}

void CInsertTableDialog::OnSettings() {
    // Closes as Cancel does: the typed numbers are dropped unread.
    m_bShowSettings = true;
    reject();
}

bool QtInsertTableDialog::Run(InsertTableValues& values) {
    CInsertTableDialog dialog(QApplication::activeWindow());
    dialog.m_nColumns = values.columns;
    dialog.m_nRows = values.rows;
    dialog.m_bShowSettings = false;
    if (dialog.exec() == QDialog::Accepted) {
        values.rows = dialog.m_nRows;
        values.columns = dialog.m_nColumns;
        values.showSettings = false;
        return true;
    }
    values.showSettings = dialog.m_bShowSettings;
    return false;
}
