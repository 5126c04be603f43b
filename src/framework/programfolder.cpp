#include "framework/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef MIRVAL_DATA_DIR
#define MIRVAL_DATA_DIR "/usr/local/share/mirval"
#endif

QString GetProgramFolder() {
    return QCoreApplication::applicationDirPath();
}

QString GetInstalledDataFolder() {
    const QString relative =
        QDir::cleanPath(GetProgramFolder() + QStringLiteral("/../share/mirval"));
    if (QFileInfo(relative).isDir()) {
        return relative;
    }
    return QStringLiteral(MIRVAL_DATA_DIR);
}

QString FindDataFile(const QString& name) {
    const QString beside = QDir(GetProgramFolder()).filePath(name);
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    const QString installed = QDir(GetInstalledDataFolder()).filePath(name);
    if (QFileInfo::exists(installed)) {
        return installed;
    }
    return beside;
}

QString SuppliedTemplateName() {
    return QStringLiteral("basic.mvt");
}

QString UserTemplateFolder() {
    // $XDG_DATA_HOME, or ~/.local/share when it is unset or empty.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(dataHome).filePath(QStringLiteral("mirval/templates"));
}

TemplateFolders TemplateFoldersFor(const QString& programFolder, const QString& installedFolder) {
    TemplateFolders folders;
    folders.besideProgram = QFileInfo::exists(QDir(programFolder).filePath(SuppliedTemplateName()));
    if (folders.besideProgram) {
        folders.readFolders = {programFolder};
        folders.saveFolder = programFolder;
    } else {
        folders.saveFolder = UserTemplateFolder();
        folders.readFolders = {folders.saveFolder, installedFolder};
    }
    return folders;
}

TemplateFolders GetTemplateFolders() {
    return TemplateFoldersFor(GetProgramFolder(), GetInstalledDataFolder());
}

QString FindTemplate(const QString& name) {
    for (const QString& folder : GetTemplateFolders().readFolders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path)) {
            return path;
        }
    }
    return FindDataFile(name);
}

QString PrepareTemplateSaveFolder() {
    const QString folder = GetTemplateFolders().saveFolder;
    // A folder that cannot be made is left to the dialog, which opens in the
    // nearest folder that exists and reports a save that fails.
    QDir().mkpath(folder);
    return folder;
}
