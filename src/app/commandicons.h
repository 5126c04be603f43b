#pragma once

#include <QIcon>
#include <QString>

// The icons of commands and windows, all scalable: freedesktop icon names
// from the desktop's theme (with Breeze, installed beside the program's
// dependencies, as the fallback theme), and the program's own SVG icons
// (data/icons, built into the program as resources ":/icons/NAME.svg") for
// what no theme has.
namespace CommandIcons {

// The size of a toolbar button's icon at scale factor 1; the icons are drawn
// from their vector form at every scale.
constexpr int kButtonSize = 16;

// The fallback theme: where the desktop's theme lacks a name.
inline const QString kFallbackTheme = QStringLiteral("breeze");

// The icon called name: the program's own when it has one, else the
// theme's. Null when neither has it.
QIcon Named(const QString& name);
// The icon its command table row names; a null icon for a command without.
QIcon ForCommand(int id);
// The program's icon: main window, about box, preview windows.
QIcon Application();
// The icon of editor document windows.
QIcon EditorDocument();

}  // namespace CommandIcons
