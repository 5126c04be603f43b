#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What a file dialog is asked to show. The filter is written the program's
// way: "Name (*.a)|*.a|Other (*.b; *.c)|*.b; *.c||".
struct FileDialogRequest {
    QString folder;       // where the dialog opens; empty: the current folder
    QString defaultName;  // file name proposed
    QString defaultExt;   // added to a name typed without an extension
    QString filter;
    bool confirmOverwrite = true;  // save dialogs: ask before replacing a file
    QStringList places;            // more folders for the dialog's side bar
};

enum class SaveChangesAnswer { Save, Discard, Cancel };

// The dialogs and feedback that the document layer needs from the user
// interface, so that documents hold no widgets. The application installs the
// real ones; tests install their own.
class IUiServices {
public:
    virtual ~IUiServices() = default;
    // A message box with an OK button.
    virtual void ShowMessage(const QString& text) = 0;
    virtual SaveChangesAnswer AskSaveChanges(const QString& title) = 0;
    // A question with Yes and No buttons; true for Yes. No is the default.
    virtual bool AskYesNo(const QString& text) = 0;
    // A question with two answers, the buttons labelled first and second;
    // true for the first. Closing the question answers second.
    virtual bool AskChoice(const QString& text, const QString& first, const QString& second) = 0;
    virtual std::optional<QString> AskOpenFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> AskSaveFileName(const FileDialogRequest& request) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual void Beep() = 0;
    // A message in the status bar, for what must not interrupt the user.
    virtual void ShowStatusMessage(const QString& text) = 0;
    // The path enters the recent-file list (the list filters what it keeps).
    virtual void AddToRecentFileList(const QString& path) = 0;
};

void SetUiServices(IUiServices* services);
IUiServices& Ui();

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
public:
    WaitCursor() { Ui().BeginWaitCursor(); }
    ~WaitCursor() { Ui().EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
