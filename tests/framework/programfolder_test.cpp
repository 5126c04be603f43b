#include "framework/programfolder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDir>

#include "common/scratchfolder.h"

namespace {

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

// The template folders: beside a program whose folder holds the supplied
// templates, else the user's folder (from XDG_DATA_HOME, or HOME when it is
// unset or empty) before the installed data folder, saving into the user's.
TEST(TemplateFolders, FollowTheProgramFolderOrTheUsersDataFolder) {
    ScratchFolder scratch;
    const QString buildTree = Q(scratch.File("build"));
    const QString bin = Q(scratch.File("bin"));
    const QString installed = Q(scratch.File("share/mirval"));
    QDir().mkpath(buildTree);
    QDir().mkpath(bin);
    ScratchFolder::Write(scratch.File("build/basic.mvt"), "<html>\r\n");
    ::setenv("HOME", scratch.File("home").c_str(), 1);

    struct Case {
        const char* xdgDataHome;  // nullptr: unset
        QString programFolder;
        bool beside;
        QString userFolder;
    };
    const QString fromXdg = Q(scratch.File("data/mirval/templates"));
    const QString fromHome = Q(scratch.File("home/.local/share/mirval/templates"));
    const Case cases[] = {
        {"data", buildTree, true, {}},
        {"data", bin, false, fromXdg},
        {nullptr, bin, false, fromHome},
        {"", bin, false, fromHome},
    };
    for (const Case& c : cases) {
        if (c.xdgDataHome == nullptr) {
            ::unsetenv("XDG_DATA_HOME");
        } else {
            const std::string value = *c.xdgDataHome ? scratch.File(c.xdgDataHome) : "";
            ::setenv("XDG_DATA_HOME", value.c_str(), 1);
        }
        const TemplateFolders folders = TemplateFoldersFor(c.programFolder, installed);
        SCOPED_TRACE(c.programFolder.toStdString() + " " +
                     (c.xdgDataHome ? c.xdgDataHome : "(unset)"));
        EXPECT_EQ(folders.besideProgram, c.beside);
        if (c.beside) {
            EXPECT_EQ(folders.readFolders, QStringList{c.programFolder});
            EXPECT_EQ(folders.saveFolder, c.programFolder);
        } else {
            EXPECT_EQ(folders.readFolders, QStringList({c.userFolder, installed}));
            EXPECT_EQ(folders.saveFolder, c.userFolder);
        }
    }
    // Working out the folders makes none of them.
    EXPECT_FALSE(QDir(fromXdg).exists());
    EXPECT_FALSE(QDir(fromHome).exists());
}

}  // namespace
