#pragma once

#include <QStringList>

#include "framework/uiservices.h"

class CHebApp;
class QWidget;

// The dialogs and feedback of the real user interface: message boxes, the
// save-changes question, the file dialogs, the wait cursor and the beep.
class QtUiServices : public IUiServices {
public:
    // Paths that enter the recent-file list go to app (none while null).
    explicit QtUiServices(CHebApp* app = nullptr) : m_pApp(app) {}
    void SetApp(CHebApp* app) { m_pApp = app; }

    void ShowMessage(const QString& text) override;
    SaveChangesAnswer AskSaveChanges(const QString& title) override;
    bool AskYesNo(const QString& text) override;
    bool AskChoice(const QString& text, const QString& first, const QString& second) override;
    std::optional<QString> AskOpenFileName(const FileDialogRequest& request) override;
    std::optional<QString> AskSaveFileName(const FileDialogRequest& request) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void Beep() override;
    void ShowStatusMessage(const QString& text) override;
    void AddToRecentFileList(const QString& path) override;

    // The program's filter "Name (*.a)|*.a|Other|*.b; *.c||" as the name
    // filters of a Qt file dialog: "Name (*.a)", "Other (*.b *.c)". "*.*"
    // matches every file, with or without an extension.
    static QStringList ToQtFilters(const QString& filter);
    // The path with "." and the default extension added when its file name
    // has no extension.
    static QString WithDefaultExtension(const QString& path, const QString& defaultExt);

private:
    std::optional<QString> RunFileDialog(const FileDialogRequest& request, bool save);
    static QWidget* DialogParent();

    CHebApp* m_pApp;
};
