#pragma once

#include <QIcon>

// The toolbar's button images (16 by 15 pixels) and the program's icons,
// drawn when first asked for.
namespace CommandIcons {

constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 15;

// The image of a toolbar command; a null icon for a command without one.
QIcon ForCommand(int id);
// The program's icon: main window, about box, preview windows.
QIcon Application();
// The icon of editor document windows.
QIcon EditorDocument();

}  // namespace CommandIcons
