#pragma once

#include <QString>
#include <QStringList>

// The folder of the executable, without a trailing separator. It holds the
// data files the program ships: templates, the help page, the definition file.
QString GetProgramFolder();

// The data folder of an installation: <prefix>/share/mirval, found beside the
// program's folder (../share/mirval, so that an installation can move), else
// the folder the program was built for.
QString GetInstalledDataFolder();

// Where a shipped data file is: beside the executable first, then in the
// installed data folder. The path beside the executable when it is in neither.
QString FindDataFile(const QString& name);

// Where templates are read from and saved to.
//
// A program whose folder holds the supplied templates (the build tree copies
// them beside the executable) keeps them there: it reads and saves templates
// in its own folder. An installed program's folder (/usr/bin) is not the
// user's to write, so it reads the user's templates first
// ($XDG_DATA_HOME/mirval/templates, default ~/.local/share/mirval/templates),
// then the supplied ones in the installed data folder, and saves into the
// user's folder.
struct TemplateFolders {
    bool besideProgram = false;
    QStringList readFolders;  // the first one first
    QString saveFolder;
};

// The name of the supplied template that marks a folder as holding them.
QString SuppliedTemplateName();

// The folders for a program in programFolder whose installed data folder is
// installedFolder, with the user's data folder taken from the environment.
TemplateFolders TemplateFoldersFor(const QString& programFolder, const QString& installedFolder);
// The same for this program.
TemplateFolders GetTemplateFolders();

// The user's template folder: $XDG_DATA_HOME/mirval/templates.
QString UserTemplateFolder();

// The first read folder that holds a template of this name; FindDataFile's
// answer when none does.
QString FindTemplate(const QString& name);

// The folder "Save as template" offers, created when it is missing (the
// user's folder, the first time a template is saved there).
QString PrepareTemplateSaveFolder();
