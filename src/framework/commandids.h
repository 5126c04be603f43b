#pragma once

// The stable numeric identifiers of the program's commands: menu items,
// keys and toolbar buttons all name a command by one of these, and every
// class that handles a command looks it up here.
namespace CommandId {
// Files.
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
constexpr int FileNewFromTemplate = 32774;
constexpr int FileSaveAsTemplate = 32809;
constexpr int Browse = 32773;
constexpr int Options = 32796;
constexpr int AppExit = 57665;

// Editing.
constexpr int EditCopy = 57634;
constexpr int EditCut = 57635;
constexpr int EditFind = 57636;
constexpr int EditPaste = 57637;
constexpr int EditReplace = 57641;
constexpr int EditSelectAll = 57642;
constexpr int EditUndo = 57643;
constexpr int UndoConvert = 32792;
constexpr int PasteVisual = 32776;
constexpr int PasteVisualCopy = 32791;
constexpr int PasteTable = 32790;
constexpr int GoToLine = 32797;

// View.
constexpr int ViewToolbar = 59392;
constexpr int ViewStatusBar = 59393;
constexpr int DosDisplay = 32799;
constexpr int ShowSyntax = 32806;
constexpr int RefreshSyntax = 32807;
constexpr int LineIndicator = 32798;
// The status-bar pane showing whether the document is stored in visual or
// logical order (a pane of our own, not a menu command).
constexpr int OrderIndicator = 32900;
// The status-bar pane showing the encoding the document is saved in, and the
// two commands that choose it (commands of our own).
constexpr int EncodingIndicator = 32901;
constexpr int EncodingCp1255 = 32902;
constexpr int EncodingUtf8 = 32903;
// The conversion of a visual page to a logical UTF-8 page for today's
// browsers (a command of our own).
constexpr int ConvertToModern = 32904;

// Conversion.
constexpr int ConvertToVisual = 32771;
constexpr int ConvertToLogical = 32772;
constexpr int ConvertDos = 32787;
constexpr int ConvertSemiLogical = 32788;
constexpr int SpecialChars = 32789;
constexpr int LowerTags = 32804;

// Markup.
constexpr int Bold = 32779;
constexpr int Italic = 32780;
constexpr int Underline = 32781;
constexpr int FontTag = 32803;
constexpr int InsertImage = 32793;
constexpr int Link = 32794;
constexpr int LinkKey = 32802;  // Ctrl+L, the same as Link
constexpr int InsertTable = 32795;
constexpr int AlignLeft = 32784;
constexpr int AlignCenter = 32785;
constexpr int AlignRight = 32786;

// Windows and help.
constexpr int WindowNew = 57648;
constexpr int WindowArrange = 57649;
constexpr int WindowCascade = 57650;
constexpr int WindowTile = 57651;
constexpr int NextPane = 57680;
constexpr int PrevPane = 57681;
constexpr int HelpFile = 32800;
constexpr int HomePage = 32801;
constexpr int AppAbout = 57664;
}  // namespace CommandId
