#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

#include "app/commandicons.h"
#include "app/commandline.h"
#include "app/commandtable.h"
#include "app/hebapp.h"
#include "app/installcheck.h"
#include "app/mainframe.h"
#include "app/qtuiservices.h"
#include "app/singleinstance.h"
#include "browse/webbrowser.h"
#include "document/hebdoc.h"
#include "options/inserttabledialog.h"
#include "options/qtoptionssheet.h"

int main(int argc, char* argv[]) {
    // Before the application object: the web engine of the preview reads
    // its switches when it starts.
    CWebBrowser::PrepareEnvironment();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MIRVAL"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setWindowIcon(CommandIcons::Application());

    const CommandLine line = ParseCommandLine(QApplication::arguments());
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "mirval: %s\n", qPrintable(line.error));
        return 1;
    }
    if (line.checkInstall) {
        return RunInstallCheck(stdout);
    }

    // One program per user and display: a file given to a second start goes
    // to the running program, unless this start asks to run on its own. The
    // test options capture this process's own window, so they run on their
    // own too.
    const bool alone =
        line.newInstance || !line.screenshot.isEmpty() || line.quitAfterMs > 0 || line.preview;
    const QString serverName = SingleInstance::ServerName();
    if (!alone && !line.file.isEmpty() &&
        SingleInstance::HandOver(serverName, {QFileInfo(line.file).absoluteFilePath()})) {
        return 0;
    }

    // The services outlive the application object, whose documents may still
    // ask for them while they close.
    QtUiServices ui;
    SetUiServices(&ui);
    QtOptionsSheet optionsSheet;
    SetOptionsSheet(&optionsSheet);
    QtInsertTableDialog insertTableDialog;
    SetInsertTableDialog(&insertTableDialog);
    CHebApp app;
    ui.SetApp(&app);
    if (!app.InitInstance(line.file)) {
        return 1;
    }
    SingleInstance instance;
    if (!alone) {
        QObject::connect(&instance, &SingleInstance::FilesReceived, &app,
                         &CHebApp::OpenFilesFromElsewhere);
        instance.Listen(serverName);
    }
    if (line.preview) {
        // The page's preview in the program's own window, as the preview
        // command shows it (without the options sheet).
        if (auto* document = qobject_cast<CHebDoc*>(app.MainFrame()->GetActiveDocument())) {
            document->Preview(false, QString());
        }
    }

    if (!line.screenshot.isEmpty() || line.quitAfterMs > 0) {
        QTimer::singleShot(line.quitAfterMs, &app, [&app, &line] {
            bool saved = true;
            if (!line.screenshot.isEmpty()) {
                CMainFrame* frame = app.MainFrame();
                saved = frame->grab().save(line.screenshot, "PNG");
                std::printf("%s\n", frame->windowTitle().toLocal8Bit().constData());
                std::fflush(stdout);
            }
            if (!saved) {
                QCoreApplication::exit(2);
                return;
            }
            // Leave the way the user does: the exit command, which asks
            // about unsaved documents before the program ends.
            app.MainFrame()->Route(CommandId::AppExit);
        });
    }
    return QApplication::exec();
}
