#include "app/recoverydialog.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "document/hebdoc.h"
#include "framework/doctemplate.h"
#include "framework/localpath.h"

namespace {

enum Column { kDocument, kChanged, kSize, kNote, kChoice, kColumns };

// The document a journal's text goes into: the document already open on its
// file when that one holds no edits of its own (the file named when the
// program was started again), else a new one.
CHebDoc* RecoveryTarget(CDocTemplate* editor, const recoveryjournal::Header& header) {
    if (editor == nullptr) {
        return nullptr;
    }
    if (!header.path.empty()) {
        const QString path = PathFromLocal(header.path);
        for (CDocument* open : editor->Documents()) {
            auto* document = qobject_cast<CHebDoc*>(open);
            if (document != nullptr && !document->IsModified() && !document->IsClosing() &&
                document->GetPathName() == path) {
                return document;
            }
        }
    }
    return qobject_cast<CHebDoc*>(editor->OpenDocumentFile(QString()));
}

}  // namespace

CRecoveryDialog::CRecoveryDialog(const std::vector<recoveryfolder::Orphan>& orphans,
                                 QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("שחזור מסמכים"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("התוכנה לא נסגרה כראוי, ובמסמכים הבאים נמצאו שינויים שלא "
                                "נשמרו.\nבחר מה לעשות בכל מסמך:"),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* table = new QTableWidget(static_cast<int>(orphans.size()), kColumns, this);
    table->setHorizontalHeaderLabels(
        {tr("מסמך"), tr("שינוי אחרון"), tr("גודל"), tr("הערה"), tr("פעולה")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    const QLocale hebrew(QLocale::Hebrew, QLocale::Israel);
    for (int row = 0; row < static_cast<int>(orphans.size()); ++row) {
        const recoveryfolder::Orphan& orphan = orphans[static_cast<size_t>(row)];
        auto* name = new QTableWidgetItem(DocumentName(orphan.journal.header));
        name->setToolTip(name->text());
        table->setItem(row, kDocument, name);
        table->setItem(
            row, kChanged,
            new QTableWidgetItem(hebrew.toString(QDateTime::fromMSecsSinceEpoch(orphan.changedMs),
                                                 QLocale::ShortFormat)));
        table->setItem(row, kSize,
                       new QTableWidgetItem(tr("%L1 בתים").arg(SavedSize(orphan.journal))));
        table->setItem(row, kNote, new QTableWidgetItem(Note(orphan)));
        auto* choice = new QComboBox(table);
        choice->addItems({tr("שחזר"), tr("מחק"), tr("החלט אחר כך")});
        table->setCellWidget(row, kChoice, choice);
        m_choices.push_back(choice);
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("אישור"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(std::max(640, table->horizontalHeader()->length() + 40),
           std::min(480, 160 + 32 * static_cast<int>(orphans.size())));
}

std::vector<CRecoveryDialog::Choice> CRecoveryDialog::Choices() const {
    std::vector<Choice> choices;
    for (const QComboBox* box : m_choices) {
        choices.push_back(static_cast<Choice>(box->currentIndex()));
    }
    return choices;
}

QString CRecoveryDialog::DocumentName(const recoveryjournal::Header& header) {
    if (!header.path.empty()) {
        // A path reads left to right, whatever the layout.
        return QChar(0x202A) + PathFromLocal(header.path) + QChar(0x202C);
    }
    return tr("%1 (ללא שם)").arg(QString::fromStdString(header.title));
}

QString CRecoveryDialog::Note(const recoveryfolder::Orphan& orphan) {
    const recoveryjournal::Header& header = orphan.journal.header;
    if (header.path.empty()) {
        return QString();
    }
    if (!QFileInfo::exists(PathFromLocal(header.path))) {
        return tr("הקובץ אינו קיים עוד בדיסק");
    }
    if (orphan.fileNewer) {
        return tr("הקובץ בדיסק השתנה אחרי תחילת השינויים האלה (הוא חדש יותר)");
    }
    return QString();
}

qint64 CRecoveryDialog::SavedSize(const recoveryjournal::Replayed& journal) {
    const std::u16string& text = journal.text;
    const auto breaks = std::count(text.begin(), text.end(), u'\u2029');
    return static_cast<qint64>(text.size()) + (journal.header.lfLineEnds ? 0 : breaks);
}

void OfferRecovery(CDocTemplate* editor, QWidget* parent, const std::string& folder) {
    std::vector<recoveryfolder::Orphan> orphans = recoveryfolder::FindOrphans(folder);
    if (orphans.empty()) {
        return;
    }
    std::vector<CRecoveryDialog::Choice> choices(orphans.size(), CRecoveryDialog::Choice::Later);
    {
        CRecoveryDialog dialog(orphans, parent);
        if (dialog.exec() == QDialog::Accepted) {
            choices = dialog.Choices();
        }
    }
    for (size_t i = 0; i < orphans.size(); ++i) {
        recoveryfolder::Orphan& orphan = orphans[i];
        switch (choices[i]) {
            case CRecoveryDialog::Choice::Recover:
                if (CHebDoc* document = RecoveryTarget(editor, orphan.journal.header)) {
                    document->RestoreFromJournal(orphan);
                }
                break;
            case CRecoveryDialog::Choice::Discard:
                recoveryfolder::Remove(orphan);
                break;
            case CRecoveryDialog::Choice::Later:
                break;
        }
        recoveryfolder::Release(orphan);  // a journal not taken over stays
    }
}
