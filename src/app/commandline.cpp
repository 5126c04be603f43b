#include "app/commandline.h"

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--screenshot") ||
            argument == QStringLiteral("--quit-after")) {
            if (i + 1 >= arguments.size()) {
                line.error = argument + QStringLiteral(" needs a value");
                return line;
            }
            const QString value = arguments[++i];
            if (argument == QStringLiteral("--screenshot")) {
                line.screenshot = value;
            } else {
                bool ok = false;
                line.quitAfterMs = value.toInt(&ok);
                if (!ok || line.quitAfterMs < 0) {
                    line.error = QStringLiteral("--quit-after needs a number of milliseconds");
                    return line;
                }
            }
        } else if (argument == QStringLiteral("--preview")) {
            line.preview = true;
        } else if (argument == QStringLiteral("--new-instance")) {
            line.newInstance = true;
        } else if (argument == QStringLiteral("--check-install")) {
            line.checkInstall = true;
        } else if (line.file.isEmpty()) {
            line.file = argument;
        } else {
            line.error = QStringLiteral("only one file can be named");
            return line;
        }
    }
    return line;
}
