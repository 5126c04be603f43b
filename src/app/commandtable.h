#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>
#include <span>
#include <vector>

#include "framework/commandids.h"

// The menu bars: 128 while no document is open, 129 for editor documents, 130
// for preview documents.
constexpr int kMainMenu = 128;
constexpr int kEditorMenu = 129;
constexpr int kPreviewMenu = 130;

// Which menu bars carry an item, one bit per bar.
enum MenuBars : unsigned {
    kInMainMenu = 1u << 0,
    kInEditorMenu = 1u << 1,
    kInPreviewMenu = 1u << 2,
    kInEveryMenu = kInMainMenu | kInEditorMenu | kInPreviewMenu,
};

// Where a command's item stands in some menu bars. Items follow the order of
// the command table; a popup stands where its first item puts it; a separator
// stands between neighbouring items of different groups.
struct MenuPlace {
    unsigned bars = 0;               // MenuBars; 0 for no item
    const char* popup = nullptr;     // the menu bar's popup
    const char* subPopup = nullptr;  // a popup within it, or null
    int group = 0;                   // the item's group within its popup
    const char* text = nullptr;      // the item's text in these bars; null for the menu text
};

// Where a command's button stands on the toolbar: its place among the buttons,
// 1-based, 0 for none; a separator stands between neighbouring buttons of
// different groups.
struct ToolbarPlace {
    int place = 0;
    int group = 0;
};

// One command of the program: its menu items, what they say, its keys, its
// toolbar button and its status-bar prompt. Texts are the program's own,
// stored untranslated; the accessors translate them. The icon of its menu
// item and button is named: a freedesktop icon name taken from the desktop's
// theme, or one of the program's own icons (data/icons/NAME.svg).
struct CommandInfo {
    int id = 0;
    const char* icon = nullptr;  // null for a command without an icon
    const char* menuText = "";   // "" for a command without a menu item
    const char* keys = "";       // "Ctrl+Z, Alt+Backspace"; "" for none
    const char* prompt = "";     // status text, then "\n" and the tooltip where there is one
    MenuPlace menu = {};         // its item in the menu bars
    MenuPlace otherMenu = {};  // a second place, where some bars put it elsewhere or word it apart
    ToolbarPlace toolbar = {};

    QString MenuText() const;
    QList<QKeySequence> Keys() const;
    QString Prompt() const;
    // The prompt's part before "\n" (all of it when there is no "\n").
    QString StatusText() const;
    // The prompt's part after "\n"; empty when there is none.
    QString ToolTip() const;
};

// Every command, in the order of its menu items.
std::span<const CommandInfo> CommandTable();
// Null for an id the table does not hold.
const CommandInfo* FindCommand(int id);

// Whether the key runs one of the commands.
bool IsCommandKey(const QKeySequence& key);

// Turns "Ctrl+Z, Alt+Backspace" into key sequences ("Insert" and "Delete"
// spelled out as the command list writes them).
QList<QKeySequence> KeysFromText(const QString& text);

// One entry of a menu bar: a command item, a separator or a popup.
struct MenuEntry {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Separator;
    int id = 0;                      // Command
    QString text;                    // Command: the item's text; Popup: its title
    std::vector<MenuEntry> entries;  // Popup
    int group = 0;                   // Command and Popup: the group it stands in
};

// A menu bar built from the command table: its list of popups; empty for an
// id that is no menu bar.
std::vector<MenuEntry> MenuResource(int resourceId);

// The toolbar from the leading edge, built from the command table: command
// ids, 0 for a separator.
std::span<const int> ToolbarButtons();
