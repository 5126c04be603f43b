#include "framework/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef MIRVAL_DATA_DIR
#define MIRVAL_DATA_DIR "/usr/local/share/mirval"
#endif

QString GetProgramFolder() {
    return QCoreApplication::applicationDirPath();
}

QString FindDataFile(const QString& name) {
    const QString beside = QDir(GetProgramFolder()).filePath(name);
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    const QString installed = QDir(QStringLiteral(MIRVAL_DATA_DIR)).filePath(name);
    if (QFileInfo::exists(installed)) {
        return installed;
    }
    return beside;
}
