#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>
#include <span>
#include <vector>

// The command identifiers the application shell itself names. The document
// and the view keep their own constants for the commands they handle.
namespace CommandId {
constexpr int FileNew = 57600;
constexpr int FileOpen = 57601;
constexpr int FileClose = 57602;
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int FilePrintSetup = 57606;
constexpr int FilePrint = 57607;
constexpr int FilePrintPreview = 57609;
constexpr int FileMruFirst = 57616;  // the recent-file placeholder and the first recent file
constexpr int FileMruLast = 57619;   // the fourth recent file
constexpr int WindowNew = 57648;
constexpr int WindowArrange = 57649;
constexpr int WindowCascade = 57650;
constexpr int WindowTile = 57651;
constexpr int AppAbout = 57664;
constexpr int AppExit = 57665;
constexpr int NextPane = 57680;
constexpr int PrevPane = 57681;
constexpr int ViewToolbar = 59392;
constexpr int ViewStatusBar = 59393;
constexpr int FileNewFromTemplate = 32774;
constexpr int LineIndicator = 32798;
constexpr int HelpFile = 32800;
constexpr int HomePage = 32801;
}  // namespace CommandId

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
