#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>
#include <span>
#include <vector>

#include "framework/commandids.h"

// One command of the program: where its menu item is, what it says, its keys,
// its toolbar button and its status-bar prompt. Texts are the program's own,
// stored untranslated; the accessors translate them.
struct CommandInfo {
    int id;
    const char* menuPath;  // popup path in the editor menu, " > " between levels; "" for none
    const char* menuText;  // "" for a command without a menu item
    const char* keys;      // "Ctrl+Z, Alt+Backspace"; "" for none
    int toolbarPlace;      // the button's place among the toolbar's buttons, 1-based; 0 for none
    const char* prompt;    // status text, then "\n" and the tooltip where there is one

    QString MenuText() const;
    QStringList MenuPath() const;
    QList<QKeySequence> Keys() const;
    QString Prompt() const;
    // The prompt's part before "\n" (all of it when there is no "\n").
    QString StatusText() const;
    // The prompt's part after "\n"; empty when there is none.
    QString ToolTip() const;
};

// Every command, in the order of the program's command list.
std::span<const CommandInfo> CommandTable();
// Null for an id the table does not hold.
const CommandInfo* FindCommand(int id);

// Whether the key runs one of the commands.
bool IsCommandKey(const QKeySequence& key);

// Turns "Ctrl+Z, Alt+Backspace" into key sequences ("Insert" and "Delete"
// spelled out as the command list writes them).
QList<QKeySequence> KeysFromText(const QString& text);

// One entry of a menu resource: a command item, a separator or a popup.
struct MenuEntry {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Separator;
    int id = 0;                      // Command
    QString text;                    // Command: the item's text; Popup: its title
    std::vector<MenuEntry> entries;  // Popup
};

// The menu bars: 128 while no document is open, 129 for editor documents, 130
// for preview documents. Each is its list of popups; empty for another id.
std::vector<MenuEntry> MenuResource(int resourceId);
constexpr int kMainMenu = 128;
constexpr int kEditorMenu = 129;
constexpr int kPreviewMenu = 130;

// Toolbar 128 from the leading edge: command ids, 0 for a separator.
std::span<const int> ToolbarButtons();
