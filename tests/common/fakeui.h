#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "framework/uiservices.h"

// User-interface services that answer from a script and record what the
// program asked, so that documents can be tested without dialogs.
class FakeUi : public IUiServices {
public:
    FakeUi() { SetUiServices(this); }
    ~FakeUi() override { SetUiServices(nullptr); }

    void ShowMessage(const QString& text) override { messages.append(text); }
    SaveChangesAnswer AskSaveChanges(const QString& title) override {
        saveQuestions.append(title);
        return saveAnswer;
    }
    bool AskYesNo(const QString& text) override {
        questions.append(text);
        if (yesNoAnswers.empty()) {
            return false;
        }
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    bool AskChoice(const QString& text, const QString&, const QString&) override {
        choiceQuestions.append(text);
        if (choiceAnswers.empty()) {
            return false;
        }
        const bool answer = choiceAnswers.front();
        choiceAnswers.pop_front();
        return answer;
    }
    std::optional<QString> AskOpenFileName(const FileDialogRequest& request) override {
        return Answer(request);
    }
    std::optional<QString> AskSaveFileName(const FileDialogRequest& request) override {
        return Answer(request);
    }
    void BeginWaitCursor() override { ++waitCursors; }
    void EndWaitCursor() override { --waitCursors; }
    void Beep() override { ++beeps; }
    void ShowStatusMessage(const QString& text) override { statusMessages.append(text); }
    void AddToRecentFileList(const QString& path) override { recentFiles.append(path); }

    // The next file dialogs' answers, in order; an empty one, or none left:
    // the dialog was cancelled.
    std::deque<QString> fileAnswers;
    SaveChangesAnswer saveAnswer = SaveChangesAnswer::Discard;
    // The next Yes/No questions' answers, in order; none left: No.
    std::deque<bool> yesNoAnswers;

    QStringList messages;
    QStringList statusMessages;
    QStringList saveQuestions;
    QStringList questions;  // the Yes/No questions asked
    // The next two-answer questions' answers, in order; none left: the second.
    std::deque<bool> choiceAnswers;

    QStringList choiceQuestions;
    QStringList recentFiles;
    std::optional<FileDialogRequest> lastRequest;
    int waitCursors = 0;
    int beeps = 0;

private:
    std::optional<QString> Answer(const FileDialogRequest& request) {
        lastRequest = request;
        if (fileAnswers.empty()) {
            return std::nullopt;
        }
        const QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        if (answer.isEmpty()) {
            return std::nullopt;
        }
        return answer;
    }
};
