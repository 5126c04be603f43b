#include "qtbenchmain.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QTemporaryDir>

#include "framework/uiservices.h"

namespace {

class QuietUi : public IUiServices {
public:
    void ShowMessage(const QString&) override {}
    SaveChangesAnswer AskSaveChanges(const QString&) override { return SaveChangesAnswer::Discard; }
    bool AskYesNo(const QString&) override { return false; }
    bool AskChoice(const QString&, const QString&, const QString&) override { return false; }
    std::optional<QString> AskOpenFileName(const FileDialogRequest&) override { return {}; }
    std::optional<QString> AskSaveFileName(const FileDialogRequest&) override { return {}; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void Beep() override {}
    void ShowStatusMessage(const QString&) override {}
    void AddToRecentFileList(const QString&) override {}
};

}  // namespace

int RunQtBenchmarks(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir profileFolder;
    ::setenv("MIRVAL_PROFILE", qPrintable(profileFolder.filePath("profile.ini")), 1);
    QApplication application(argc, argv);
    QuietUi ui;
    SetUiServices(&ui);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SetUiServices(nullptr);
    return 0;
}
