#include "app/commandicons.h"

#include <QFile>
#include <QStandardPaths>
#include <QStringList>

#include "app/commandtable.h"

namespace CommandIcons {

QIcon Named(const QString& name) {
    const QString own = QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
    if (QFile::exists(own)) {
        return QIcon(own);
    }
    // Set once, before the first look-up in a theme. The desktop's theme
    // still comes first; a platform that names no theme and no folders of
    // themes (the offscreen one) gets the system's folders and the
    // fallback theme.
    static const bool themesSet = [] {
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& folder :
             QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                       QStandardPaths::LocateDirectory)) {
            if (!paths.contains(folder) && !paths.contains(folder + QLatin1Char('/'))) {
                paths.append(folder);
            }
        }
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::fallbackThemeName().isEmpty() ||
            QIcon::fallbackThemeName() == QLatin1String("hicolor")) {
            QIcon::setFallbackThemeName(kFallbackTheme);
        }
        if (QIcon::themeName().isEmpty()) {
            QIcon::setThemeName(kFallbackTheme);
        }
        return true;
    }();
    (void)themesSet;
    return QIcon::fromTheme(name);
}

QIcon ForCommand(int id) {
    const CommandInfo* info = FindCommand(id);
    if (info == nullptr || info->icon == nullptr) {
        return QIcon();
    }
    return Named(QString::fromLatin1(info->icon));
}

QIcon Application() {
    return QIcon(QStringLiteral(":/icons/mirval.svg"));
}

QIcon EditorDocument() {
    return Named(QStringLiteral("mirval-document"));
}

}  // namespace CommandIcons
