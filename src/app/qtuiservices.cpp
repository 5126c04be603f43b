#include "app/qtuiservices.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>

#include "app/hebapp.h"
#include "app/mainframe.h"

namespace {

QString Caption() {
    return QApplication::translate("QtUiServices", "MIRVAL");
}

}  // namespace

QWidget* QtUiServices::DialogParent() {
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    CHebApp* app = CHebApp::Instance();
    return app != nullptr ? app->MainFrame() : nullptr;
}

void QtUiServices::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::Warning, Caption(), text, QMessageBox::Ok, DialogParent());
    box.button(QMessageBox::Ok)->setText(QApplication::translate("QtUiServices", "אישור"));
    box.exec();
}

bool QtUiServices::AskYesNo(const QString& text) {
    QMessageBox box(QMessageBox::Question, Caption(), text, QMessageBox::Yes | QMessageBox::No,
                    DialogParent());
    box.button(QMessageBox::Yes)->setText(QApplication::translate("QtUiServices", "&כן"));
    box.button(QMessageBox::No)->setText(QApplication::translate("QtUiServices", "&לא"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

SaveChangesAnswer QtUiServices::AskSaveChanges(const QString& title) {
    QMessageBox box(QMessageBox::Warning, Caption(),
                    QApplication::translate("QtUiServices", "לשמור את השינויים ב-%1?").arg(title),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, DialogParent());
    box.button(QMessageBox::Yes)->setText(QApplication::translate("QtUiServices", "&כן"));
    box.button(QMessageBox::No)->setText(QApplication::translate("QtUiServices", "&לא"));
    box.button(QMessageBox::Cancel)->setText(QApplication::translate("QtUiServices", "ביטול"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return SaveChangesAnswer::Save;
        case QMessageBox::No:
            return SaveChangesAnswer::Discard;
        default:
            return SaveChangesAnswer::Cancel;
    }
}

bool QtUiServices::AskChoice(const QString& text, const QString& first, const QString& second) {
    QMessageBox box(QMessageBox::Question, Caption(), text, QMessageBox::NoButton, DialogParent());
    QPushButton* firstButton = box.addButton(first, QMessageBox::AcceptRole);
    QPushButton* secondButton = box.addButton(second, QMessageBox::RejectRole);
    box.setDefaultButton(firstButton);
    box.setEscapeButton(secondButton);
    box.exec();
    return box.clickedButton() == firstButton;
}

std::optional<QString> QtUiServices::AskOpenFileName(const FileDialogRequest& request) {
    return RunFileDialog(request, false);
}

std::optional<QString> QtUiServices::AskSaveFileName(const FileDialogRequest& request) {
    return RunFileDialog(request, true);
}

std::optional<QString> QtUiServices::RunFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(DialogParent(),
                       save ? QApplication::translate("QtUiServices", "שמירה בשם")
                            : QApplication::translate("QtUiServices", "פתיחה"),
                       request.folder.isEmpty() ? QDir::currentPath() : request.folder);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    const QStringList filters = ToQtFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }
    dialog.setDefaultSuffix(request.defaultExt);
    if (!request.places.isEmpty()) {
        QList<QUrl> sidebar = dialog.sidebarUrls();
        for (const QString& place : request.places) {
            sidebar.append(QUrl::fromLocalFile(place));
        }
        dialog.setSidebarUrls(sidebar);
    }
    if (!request.defaultName.isEmpty()) {
        dialog.selectFile(request.defaultName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen = dialog.selectedFiles().first();
    // A file that exists opens as it is named, extension or not.
    if (!save && QFileInfo::exists(chosen)) {
        return chosen;
    }
    return WithDefaultExtension(chosen, request.defaultExt);
}

void QtUiServices::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUiServices::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void QtUiServices::Beep() {
    QApplication::beep();
}

void QtUiServices::ShowStatusMessage(const QString& text) {
    CHebApp* app = CHebApp::Instance();
    if (app != nullptr && app->MainFrame() != nullptr) {
        app->MainFrame()->statusBar()->showMessage(text);
    }
}

void QtUiServices::AddToRecentFileList(const QString& path) {
    if (m_pApp != nullptr) {
        m_pApp->AddToRecentFileList(path);
    }
}

QStringList QtUiServices::ToQtFilters(const QString& filter) {
    // A name is followed by its patterns; "||" ends the list.
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        if (name.isEmpty()) {
            break;
        }
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty()) {
                patterns.append(trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
            }
        }
        if (patterns.isEmpty()) {
            continue;
        }
        // The dialog takes the patterns from the parentheses at the end of
        // the name, so the name's own list is replaced by the real one.
        QString shown = name;
        shown.remove(trailingPatterns);
        filters.append(shown + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return filters;
}

QString QtUiServices::WithDefaultExtension(const QString& path, const QString& defaultExt) {
    if (defaultExt.isEmpty() || path.isEmpty()) {
        return path;
    }
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || name.contains(QLatin1Char('.'))) {
        return path;
    }
    return path + QLatin1Char('.') + defaultExt;
}
