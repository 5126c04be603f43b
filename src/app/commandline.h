#pragma once

#include <QString>
#include <QStringList>

// What the program was started with: an optional file to open, whether to
// run on its own, and the options the end-to-end test uses to capture the
// window.
struct CommandLine {
    QString file;
    // --screenshot FILE: save a picture of the main window as PNG, print the
    // window's title on standard output and quit, --quit-after MS after start.
    QString screenshot;
    int quitAfterMs = 0;
    // --preview: show the file's browser preview once the program has started.
    bool preview = false;
    // --new-instance: run on its own instead of handing the file to a
    // program already running for this user and display.
    bool newInstance = false;
    // --check-install: report where the data files are and exit (no window).
    bool checkInstall = false;
    // A usage error, for standard error; empty when the line was understood.
    QString error;
};

// arguments as QCoreApplication gives them, the program's name first.
CommandLine ParseCommandLine(const QStringList& arguments);
