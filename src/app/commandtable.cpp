#include "app/commandtable.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

const char* const kContext = "Command";

// The popups of the menu bars.
const char* const kFileMenu = QT_TRANSLATE_NOOP("Command", "&קובץ");
const char* const kNewMenu = QT_TRANSLATE_NOOP("Command", "&חדש");
const char* const kEditMenu = QT_TRANSLATE_NOOP("Command", "&עריכה");
const char* const kViewMenu = QT_TRANSLATE_NOOP("Command", "&תצוגה");
const char* const kConvertMenu = QT_TRANSLATE_NOOP("Command", "&המרה...");
const char* const kFormatMenu = QT_TRANSLATE_NOOP("Command", "&עיצוב");
const char* const kInsertMenu = QT_TRANSLATE_NOOP("Command", "הו&ספה");
const char* const kWindowMenu = QT_TRANSLATE_NOOP("Command", "&חלון");
const char* const kHelpMenu = QT_TRANSLATE_NOOP("Command", "ע&זרה");

// The text the menu bars without an editor give new.
const char* const kShortNew = QT_TRANSLATE_NOOP("Command", "&חדש\tCtrl+N");

constexpr unsigned kInDocumentMenus = kInEditorMenu | kInPreviewMenu;

using namespace CommandId;

// The command list: one row per command, in the order of the menu items.
const CommandInfo kCommands[] = {
    // Files.
    {FileNew,
     QT_TRANSLATE_NOOP("Command", "&מסמך חדש\tCtrl+N"),
     "Ctrl+N",
     QT_TRANSLATE_NOOP("Command", "יצירת מסמך חדש\nחדש"),
     {kInEditorMenu, kFileMenu, kNewMenu, 1},
     {kInMainMenu | kInPreviewMenu, kFileMenu, nullptr, 1, kShortNew},
     {1, 1}},
    {FileNewFromTemplate,
     QT_TRANSLATE_NOOP("Command", "חדש מ&תבנית"),
     "",
     QT_TRANSLATE_NOOP("Command", "יצירת מסמך חדש מתבנית\nחדש מתבנית"),
     {kInEditorMenu, kFileMenu, kNewMenu, 1},
     {},
     {2, 1}},
    {FileOpen,
     QT_TRANSLATE_NOOP("Command", "&פתח...\tCtrl+O"),
     "Ctrl+O",
     QT_TRANSLATE_NOOP("Command", "פתיחת מסמך קיים\nפתח"),
     {kInEveryMenu, kFileMenu, nullptr, 1},
     {},
     {3, 1}},
    {FileClose,
     QT_TRANSLATE_NOOP("Command", "&סגור"),
     "",
     QT_TRANSLATE_NOOP("Command", "סגירת מסמך פעיל\nסגור"),
     {kInDocumentMenus, kFileMenu, nullptr, 1},
     {},
     {}},
    {FileSave,
     QT_TRANSLATE_NOOP("Command", "&שמור\tCtrl+S"),
     "Ctrl+S",
     QT_TRANSLATE_NOOP("Command", "שמירת מסמך פעיל\nשמור"),
     {kInDocumentMenus, kFileMenu, nullptr, 1},
     {},
     {4, 1}},
    {FileSaveAs,
     QT_TRANSLATE_NOOP("Command", "שמור &בשם..."),
     "",
     QT_TRANSLATE_NOOP("Command", "שמירת מסמך פעיל בשם חדש\nשמור בשם"),
     {kInDocumentMenus, kFileMenu, nullptr, 1},
     {},
     {}},
    {FileSaveAsTemplate,
     QT_TRANSLATE_NOOP("Command", "שמור כ&תבנית"),
     "",
     QT_TRANSLATE_NOOP("Command",
                       "שמור קובץ נוכחי כתבנית לקבצים אחרים\nשמור קובץ נוכחי כתבנית לקבצים אחרים"),
     {kInEditorMenu, kFileMenu, nullptr, 1},
     {},
     {}},
    {Browse,
     QT_TRANSLATE_NOOP("Command", "צפיה ב&דפדפן\tCtrl+W"),
     "Ctrl+W",
     QT_TRANSLATE_NOOP("Command", "צפיה בדפדפן\nצפיה בדפדפן"),
     {kInEditorMenu, kFileMenu, nullptr, 2},
     {},
     {5, 2}},
    {Options,
     QT_TRANSLATE_NOOP("Command", "&אפשרויות"),
     "",
     QT_TRANSLATE_NOOP("Command", "קביעת אפשרויות התוכנה"),
     {kInEditorMenu, kFileMenu, nullptr, 2},
     {},
     {}},
    {FilePrint,
     QT_TRANSLATE_NOOP("Command", "&הדפסה...\tCtrl+P"),
     "Ctrl+P",
     QT_TRANSLATE_NOOP("Command", "הדפסת מסמך פעיל\nהדפס"),
     {kInDocumentMenus, kFileMenu, nullptr, 3},
     {},
     {21, 8}},
    // Print preview and print setup belong to printing, which the editor
    // supports; its menu carries them after print.
    {FilePrintPreview,
     QT_TRANSLATE_NOOP("Command", "הצג &לפני הדפסה"),
     "",
     QT_TRANSLATE_NOOP("Command", "הצגת המסמך כפי שיודפס\nהצג לפני הדפסה"),
     {kInEditorMenu, kFileMenu, nullptr, 3},
     {},
     {}},
    {FilePrintSetup,
     QT_TRANSLATE_NOOP("Command", "ה&גדרת הדפסה..."),
     "",
     QT_TRANSLATE_NOOP("Command", "שינוי מדפסת ואשרויות הדפסה\nהגדרת הדפסה"),
     {kInEditorMenu, kFileMenu, nullptr, 3},
     {},
     {}},
    // The placeholder that the recent files replace.
    {FileMruFirst,
     QT_TRANSLATE_NOOP("Command", "קובץ אחרון"),
     "",
     QT_TRANSLATE_NOOP("Command", "פתח מסמך זה"),
     {kInEveryMenu, kFileMenu, nullptr, 4},
     {},
     {}},
    {AppExit,
     QT_TRANSLATE_NOOP("Command", "י&ציאה"),
     "",
     QT_TRANSLATE_NOOP("Command", "יציאה מן היישום\nיציאה"),
     {kInEveryMenu, kFileMenu, nullptr, 5},
     {},
     {}},

    // Editing.
    {EditUndo,
     QT_TRANSLATE_NOOP("Command", "&בטל\tCtrl+Z"),
     "Ctrl+Z, Alt+Backspace",
     QT_TRANSLATE_NOOP("Command", "ביטול הפעולה האחרונה\nבטל"),
     {kInEditorMenu, kEditMenu, nullptr, 1},
     {},
     {}},
    {UndoConvert,
     QT_TRANSLATE_NOOP("Command", "בטל המרה"),
     "",
     QT_TRANSLATE_NOOP("Command", "בטל את ההמרה האחרונה שבוצעה"),
     {kInEditorMenu, kEditMenu, nullptr, 1},
     {},
     {}},
    {EditCut,
     QT_TRANSLATE_NOOP("Command", "ג&זור\tCtrl+X"),
     "Ctrl+X, Shift+Delete",
     QT_TRANSLATE_NOOP("Command", "העברת הקטע הנבחר אל הלוח\nגזור"),
     {kInEditorMenu, kEditMenu, nullptr, 2},
     {},
     {7, 4}},
    {EditCopy,
     QT_TRANSLATE_NOOP("Command", "ה&עתק\tCtrl+C"),
     "Ctrl+C, Ctrl+Insert",
     QT_TRANSLATE_NOOP("Command", "העתקת הקטע הנבחר אל הלוח\nהעתק"),
     {kInEditorMenu, kEditMenu, nullptr, 2},
     {},
     {8, 4}},
    {EditPaste,
     QT_TRANSLATE_NOOP("Command", "ה&דבק\tCtrl+V"),
     "Ctrl+V, Shift+Insert",
     QT_TRANSLATE_NOOP("Command", "הדבקת תכולת הלוח\nהדבק"),
     {kInEditorMenu, kEditMenu, nullptr, 2},
     {},
     {9, 4}},
    {PasteVisual,
     QT_TRANSLATE_NOOP("Command", "הדבק ויזואלי\tCtrl+E"),
     "Ctrl+E",
     QT_TRANSLATE_NOOP("Command", "הדבקת תוכן הלוח בפורמט עברית ויזואלית\nהדבק ויזואלי"),
     {kInEditorMenu, kEditMenu, nullptr, 2},
     {},
     {10, 4}},
    {PasteVisualCopy,
     QT_TRANSLATE_NOOP("Command", "הדבק ויזואלי והעתק\tCtrl+Q"),
     "Ctrl+Q",
     QT_TRANSLATE_NOOP("Command", "הדבק טקסט מהלוח בפורמט ויזואלי והעתק חזרה ללוח"),
     {kInEditorMenu, kEditMenu, nullptr, 2},
     {},
     {}},
    {PasteTable,
     QT_TRANSLATE_NOOP("Command", "הדבק טבלה\tCtrl+T"),
     "Ctrl+T",
     QT_TRANSLATE_NOOP("Command", "הדבק טבלה מהלוח כטבלת HTML בפורמט ויזואלי"),
     {kInEditorMenu, kEditMenu, nullptr, 2},
     {},
     {}},
    {EditSelectAll,
     QT_TRANSLATE_NOOP("Command", "בחר &הכל\tCtrl+A"),
     "Ctrl+A",
     QT_TRANSLATE_NOOP("Command", "בחירת כל המסמך\nבחר הכל"),
     {kInEditorMenu, kEditMenu, nullptr, 2},
     {},
     {}},
    {EditFind,
     QT_TRANSLATE_NOOP("Command", "חי&פוש...\tF3"),
     "F3",
     QT_TRANSLATE_NOOP("Command", "חיפוש הטקסט שצויין\nחיפוש"),
     {kInEditorMenu, kEditMenu, nullptr, 3},
     {},
     {}},
    {EditReplace,
     QT_TRANSLATE_NOOP("Command", "ה&חלפה...\tCtrl+R"),
     "Ctrl+R",
     QT_TRANSLATE_NOOP("Command", "החלפת הטקסט שצויין בטקסט אחר\nהחלפה"),
     {kInEditorMenu, kEditMenu, nullptr, 3},
     {},
     {}},
    {GoToLine,
     QT_TRANSLATE_NOOP("Command", "&לך לשורה"),
     "",
     QT_TRANSLATE_NOOP("Command", "העבר את הסמן לשורה המצויינת בטופס"),
     {kInEditorMenu, kEditMenu, nullptr, 4},
     {},
     {}},

    // View.
    {ViewToolbar,
     QT_TRANSLATE_NOOP("Command", "&סרגל כלים"),
     "",
     QT_TRANSLATE_NOOP("Command", "הצגת או הסתרת סרגל הכלים\nהחלף מצב סרגל כלים"),
     {kInEveryMenu, kViewMenu, nullptr, 1},
     {},
     {}},
    {ViewStatusBar,
     QT_TRANSLATE_NOOP("Command", "&שורת מצב"),
     "",
     QT_TRANSLATE_NOOP("Command", "הצגת או הסתרת שורת מצב\nהחלף מצב שורת מצב"),
     {kInEveryMenu, kViewMenu, nullptr, 1},
     {},
     {}},
    {DosDisplay,
     QT_TRANSLATE_NOOP("Command", "הצג טקסט &דוס"),
     "",
     QT_TRANSLATE_NOOP("Command", "הצג טקסט דוס"),
     {kInEditorMenu, kViewMenu, nullptr, 2},
     {},
     {}},
    {ShowSyntax,
     QT_TRANSLATE_NOOP("Command", "הצג &צבע שונה לטקסט וקוד"),
     "",
     QT_TRANSLATE_NOOP("Command", "הצג צבע שונה לטקסט וקוד\nהצג צבע"),
     {kInEditorMenu, kViewMenu, nullptr, 3},
     {},
     {}},
    {RefreshSyntax,
     QT_TRANSLATE_NOOP("Command", "&רענן צבע שונה לטקסט וקוד\tF7"),
     "F7",
     QT_TRANSLATE_NOOP("Command", "רענן צבע (F7)\nרענן צבע (F7)"),
     {kInEditorMenu, kViewMenu, nullptr, 3},
     {},
     {6, 3}},

    // Conversion.
    {ConvertToVisual,
     QT_TRANSLATE_NOOP("Command", "טקסט ל-HTML &ויזואלי\tCtrl+H"),
     "Ctrl+H",
     QT_TRANSLATE_NOOP("Command", "ויזואלי HTML המרה של טקסט לוגי ל\nHTMLהמרה ל"),
     {kInEditorMenu, kConvertMenu, nullptr, 1},
     {},
     {11, 5}},
    {ConvertToLogical,
     QT_TRANSLATE_NOOP("Command", "HTML ויזואלי ל&טקסט לוגי"),
     "",
     QT_TRANSLATE_NOOP("Command", "ויזואלי לטקסט לוגי HTML המרת\nלטקסט HTML המרה מ"),
     {kInEditorMenu, kConvertMenu, nullptr, 1},
     {},
     {12, 5}},
    {ConvertDos,
     QT_TRANSLATE_NOOP("Command", "HTML ויזואלי לטקסט &דוס"),
     "",
     QT_TRANSLATE_NOOP("Command", "ויזואלי לטקסט דוס HTML המרת\nלדוס HTML המרת"),
     {kInEditorMenu, kConvertMenu, nullptr, 1},
     {},
     {}},
    {ConvertSemiLogical,
     QT_TRANSLATE_NOOP("Command", "וי&זואלי<-> לוגי"),
     "",
     QT_TRANSLATE_NOOP("Command", "בין פורמט ויזואלי לסמי לוגי ולהיפך HTML המרת"),
     {kInEditorMenu, kConvertMenu, nullptr, 1},
     {},
     {}},
    {SpecialChars,
     QT_TRANSLATE_NOOP("Command", "&תווים מיוחדים לטקסט"),
     "",
     QT_TRANSLATE_NOOP("Command", "לטקסט רגיל (&acute, #1550...) המרת תווים מיוחדים"),
     {kInEditorMenu, kConvertMenu, nullptr, 1},
     {},
     {}},
    {LowerTags,
     QT_TRANSLATE_NOOP("Command", "תגי HTML גבוהים לנמוכים"),
     "",
     QT_TRANSLATE_NOOP(
         "Command",
         "(lowercase) לנמוכים (uppercase) גבוהים HTML המרת תגי\nגבוהים לנמוכים HTML המרת תגי"),
     {kInEditorMenu, kConvertMenu, nullptr, 1},
     {},
     {}},

    // Markup.
    {Bold,
     QT_TRANSLATE_NOOP("Command", "&מודגש\tCtrl+B"),
     "Ctrl+B",
     QT_TRANSLATE_NOOP("Command", "סמן טקסט כמודגש\nמודגש"),
     {kInEditorMenu, kFormatMenu, nullptr, 1},
     {},
     {13, 6}},
    {Underline,
     QT_TRANSLATE_NOOP("Command", "&קו תחתי\tCtrl+U"),
     "Ctrl+U",
     QT_TRANSLATE_NOOP("Command", "הוסף קו תחתי\nקו תחתי"),
     {kInEditorMenu, kFormatMenu, nullptr, 1},
     {},
     {15, 6}},
    {Italic,
     QT_TRANSLATE_NOOP("Command", "מו&טה\tCtrl+I"),
     "Ctrl+I",
     QT_TRANSLATE_NOOP("Command", "סמן טקסט כמוטה\nמוטה"),
     {kInEditorMenu, kFormatMenu, nullptr, 1},
     {},
     {14, 6}},
    {FontTag,
     QT_TRANSLATE_NOOP("Command", "&פונט\tCtrl+F"),
     "Ctrl+F",
     QT_TRANSLATE_NOOP("Command", "הוסף תג פונט\nהוסף תג פונט"),
     {kInEditorMenu, kFormatMenu, nullptr, 1},
     {},
     {16, 6}},
    {InsertImage,
     QT_TRANSLATE_NOOP("Command", "&תמונה (GIF)\tCtrl+G"),
     "Ctrl+G",
     QT_TRANSLATE_NOOP("Command", "הכנסת תג תמונה במיקום הנוכחי בקובץ"),
     {kInEditorMenu, kInsertMenu, nullptr, 1},
     {},
     {}},
    // The item shows Ctrl+L, but the key is LinkKey's.
    {Link,
     QT_TRANSLATE_NOOP("Command", "&קישור (לינק)\tCtrl+L"),
     "",
     QT_TRANSLATE_NOOP("Command", "סמן טקסט כלינק\nלינק"),
     {kInEditorMenu, kInsertMenu, nullptr, 1},
     {},
     {17, 6}},
    {InsertTable,
     QT_TRANSLATE_NOOP("Command", "&טבלה"),
     "",
     QT_TRANSLATE_NOOP("Command", "הוסף טבלה\nטבלה"),
     {kInEditorMenu, kInsertMenu, nullptr, 1},
     {},
     {}},
    {LinkKey, "", "Ctrl+L", "", {}, {}, {}},
    {AlignLeft,
     "",
     "",
     QT_TRANSLATE_NOOP("Command", "יישר טקסט לשמאל\nיישר לשמאל"),
     {},
     {},
     {18, 7}},
    {AlignCenter,
     "",
     "",
     QT_TRANSLATE_NOOP("Command", "יישר טקסט למרכז\nיישר למרכז"),
     {},
     {},
     {19, 7}},
    {AlignRight,
     "",
     "",
     QT_TRANSLATE_NOOP("Command", "יישר טקסט לימין\nיישר לימין"),
     {},
     {},
     {20, 7}},

    // Windows.
    {WindowNew,
     QT_TRANSLATE_NOOP("Command", "&חלון חדש"),
     "",
     QT_TRANSLATE_NOOP("Command", "פתח חלון חדש למסמך הפעיל\nחלון חדש"),
     {kInDocumentMenus, kWindowMenu, nullptr, 1},
     {},
     {}},
    {WindowCascade,
     QT_TRANSLATE_NOOP("Command", "&מדורג"),
     "",
     QT_TRANSLATE_NOOP("Command", "סדר את החלונות בצורה מודרגת\nדרג"),
     {kInDocumentMenus, kWindowMenu, nullptr, 1},
     {},
     {}},
    {WindowTile,
     QT_TRANSLATE_NOOP("Command", "&פרוש"),
     "",
     QT_TRANSLATE_NOOP("Command", "פרישת החלונות\nפרוש"),
     {kInDocumentMenus, kWindowMenu, nullptr, 1},
     {},
     {}},
    {WindowArrange,
     QT_TRANSLATE_NOOP("Command", "&סדר"),
     "",
     QT_TRANSLATE_NOOP("Command", "סדר צלמיות בתחתית החלון\nסדר"),
     {kInDocumentMenus, kWindowMenu, nullptr, 1},
     {},
     {}},
    // Next and previous pane: with one view in each window there is no other
    // pane, so these keys never find a command that is enabled.
    {NextPane,
     "",
     "F6",
     QT_TRANSLATE_NOOP("Command", "עבור לחלונית הבאה\nהחלונית הבאה"),
     {},
     {},
     {}},
    {PrevPane,
     "",
     "Shift+F6",
     QT_TRANSLATE_NOOP("Command", "חזור לחלונית הקודמת\nחלונית קודמת"),
     {},
     {},
     {}},

    // Help.
    {HelpFile,
     QT_TRANSLATE_NOOP("Command", "קובץ ה&עזרה"),
     "",
     QT_TRANSLATE_NOOP("Command", "מציג את קובץ העזרה של התוכנה"),
     {kInEveryMenu, kHelpMenu, nullptr, 1},
     {},
     {22, 8}},
    {HomePage,
     QT_TRANSLATE_NOOP("Command", "&דף הבית של התוכנה"),
     "",
     QT_TRANSLATE_NOOP("Command", "פותח את דף הבית של התוכנה"),
     {kInEveryMenu, kHelpMenu, nullptr, 1},
     {},
     {}},
    {AppAbout,
     QT_TRANSLATE_NOOP("Command", "&אודות MIRVAL..."),
     "",
     QT_TRANSLATE_NOOP("Command", "הצג מידע אודות היישום\nאודות"),
     {kInEveryMenu, kHelpMenu, nullptr, 2},
     {},
     {}},

    // The status bar's line indicator, as wide as its prompt.
    {LineIndicator, "", "", QT_TRANSLATE_NOOP("Command", "                     "), {}, {}, {}},
};

QString Translate(const char* text) {
    return QCoreApplication::translate(kContext, text);
}

}  // namespace

QString CommandInfo::MenuText() const {
    return *menuText != '\0' ? Translate(menuText) : QString();
}

QList<QKeySequence> CommandInfo::Keys() const {
    return KeysFromText(QString::fromUtf8(keys));
}

QString CommandInfo::Prompt() const {
    return *prompt != '\0' ? Translate(prompt) : QString();
}

QString CommandInfo::StatusText() const {
    return Prompt().section(QLatin1Char('\n'), 0, 0);
}

QString CommandInfo::ToolTip() const {
    const QString text = Prompt();
    const qsizetype newline = text.indexOf(QLatin1Char('\n'));
    return newline < 0 ? QString() : text.mid(newline + 1);
}

std::span<const CommandInfo> CommandTable() {
    return kCommands;
}

const CommandInfo* FindCommand(int id) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [id](const CommandInfo& info) { return info.id == id; });
    return found == std::end(kCommands) ? nullptr : &*found;
}

bool IsCommandKey(const QKeySequence& key) {
    static const QList<QKeySequence> keys = [] {
        QList<QKeySequence> all;
        for (const CommandInfo& info : kCommands) {
            all.append(info.Keys());
        }
        return all;
    }();
    return !key.isEmpty() && keys.contains(key);
}

QList<QKeySequence> KeysFromText(const QString& text) {
    QList<QKeySequence> keys;
    for (QString key : text.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        // Qt's portable names of these two keys are "Ins" and "Del".
        key.replace(QStringLiteral("Insert"), QStringLiteral("Ins"));
        key.replace(QStringLiteral("Delete"), QStringLiteral("Del"));
        keys.append(QKeySequence::fromString(key, QKeySequence::PortableText));
    }
    return keys;
}

namespace {

unsigned BarBit(int resourceId) {
    switch (resourceId) {
        case kMainMenu:
            return kInMainMenu;
        case kEditorMenu:
            return kInEditorMenu;
        case kPreviewMenu:
            return kInPreviewMenu;
        default:
            return 0;
    }
}

// Adds an entry to a popup's entries, after a separator when it opens a new
// group; returns it.
MenuEntry& Append(std::vector<MenuEntry>& entries, MenuEntry entry) {
    if (!entries.empty() && entries.back().group != entry.group) {
        entries.push_back(MenuEntry{});
    }
    entries.push_back(std::move(entry));
    return entries.back();
}

// The popup of that title among the entries, added in the group when there is
// none yet.
std::vector<MenuEntry>& PopupEntries(std::vector<MenuEntry>& entries, const char* title,
                                     int group) {
    const QString text = Translate(title);
    for (MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::Popup && entry.text == text) {
            return entry.entries;
        }
    }
    MenuEntry popup;
    popup.kind = MenuEntry::Kind::Popup;
    popup.text = text;
    popup.group = group;
    return Append(entries, std::move(popup)).entries;
}

void Place(std::vector<MenuEntry>& bar, const CommandInfo& info, const MenuPlace& place) {
    // The menu bar's popups stand side by side, without separators.
    std::vector<MenuEntry>* entries = &PopupEntries(bar, place.popup, 0);
    if (place.subPopup != nullptr) {
        entries = &PopupEntries(*entries, place.subPopup, place.group);
    }
    MenuEntry item;
    item.kind = MenuEntry::Kind::Command;
    item.id = info.id;
    item.text = place.text != nullptr ? Translate(place.text) : info.MenuText();
    item.group = place.group;
    Append(*entries, std::move(item));
}

}  // namespace

std::vector<MenuEntry> MenuResource(int resourceId) {
    std::vector<MenuEntry> bar;
    const unsigned bit = BarBit(resourceId);
    if (bit == 0) {
        return bar;
    }
    for (const CommandInfo& info : kCommands) {
        for (const MenuPlace* place : {&info.menu, &info.otherMenu}) {
            if ((place->bars & bit) != 0) {
                Place(bar, info, *place);
            }
        }
    }
    return bar;
}

std::span<const int> ToolbarButtons() {
    static const std::vector<int> buttons = [] {
        std::vector<const CommandInfo*> placed;
        for (const CommandInfo& info : kCommands) {
            if (info.toolbar.place != 0) {
                placed.push_back(&info);
            }
        }
        std::sort(placed.begin(), placed.end(), [](const CommandInfo* a, const CommandInfo* b) {
            return a->toolbar.place < b->toolbar.place;
        });
        std::vector<int> ids;
        for (std::size_t i = 0; i < placed.size(); ++i) {
            if (i > 0 && placed[i - 1]->toolbar.group != placed[i]->toolbar.group) {
                ids.push_back(0);
            }
            ids.push_back(placed[i]->id);
        }
        return ids;
    }();
    return buttons;
}
