#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <memory>

#include "app/hebapp.h"
#include "app/mainframe.h"
#include "browse/browseview.h"
#include "browse/webbrowser.h"
#include "common/fakeui.h"
#include "common/scratchfolder.h"
#include "framework/doctemplate.h"
#include "framework/document.h"

// Answers dialogs from a script, and lets paths reach the recent-file list
// as the real services do.
class AppUi : public FakeUi {
public:
    void AddToRecentFileList(const QString& path) override {
        FakeUi::AddToRecentFileList(path);
        if (app != nullptr) {
            app->AddToRecentFileList(path);
        }
    }
    CHebApp* app = nullptr;
};

// A fresh application with its own profile in a scratch folder; dialogs are
// answered by ui.
// A browser that only records where it was sent: preview windows in tests
// never load anything, least of all from the network.
class FakeBrowser : public QWidget, public IWebBrowser {
public:
    explicit FakeBrowser(QWidget* parent) : QWidget(parent) {}
    QWidget* Widget() override { return this; }
    void Navigate(const QString& address) override { addresses.append(address); }
    void Refresh() override { ++refreshes; }

    QStringList addresses;
    int refreshes = 0;
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setLayoutDirection(Qt::RightToLeft);
        CBrowseView::SetBrowserFactory(
            [](QWidget* parent) -> IWebBrowser* { return new FakeBrowser(parent); });
        app = std::make_unique<CHebApp>();
        ui.app = app.get();
    }
    void TearDown() override {
        ui.app = nullptr;
        app.reset();
        Settle();
        CBrowseView::SetBrowserFactory({});
    }

    // Runs what the event loop would: queued calls, then deferred deletions.
    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    CMainFrame* Frame() const { return app->MainFrame(); }
    CDocTemplate* Editor() const { return app->GetTemplate(0); }
    CDocTemplate* Preview() const { return app->GetTemplate(1); }
    QString Path(const char* name) const { return QString::fromStdString(scratch.File(name)); }
    QString WriteFile(const char* name, const std::string& bytes) const {
        ScratchFolder::Write(scratch.File(name), bytes);
        return Path(name);
    }
    bool Route(int id) {
        const bool handled = Frame()->Route(id);
        Settle();
        return handled;
    }

    ScratchFolder scratch;
    AppUi ui;
    std::unique_ptr<CHebApp> app;
};
