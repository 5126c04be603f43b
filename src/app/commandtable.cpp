#include "app/commandtable.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

const char* const kContext = "Command";

// The popups of the menu bars.
const char* const kFileMenu = QT_TRANSLATE_NOOP("Command", "&קובץ");
const char* const kNewMenu = QT_TRANSLATE_NOOP("Command", "&חדש");
// Its access key is the first letter: the last, ד, is browsing's in the same menu.
const char* const kEncodingMenu = QT_TRANSLATE_NOOP("Command", "&קידוד");
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
    {.id = FileNew,
     .icon = "document-new",
     .menuText = QT_TRANSLATE_NOOP("Command", "&מסמך חדש\tCtrl+N"),
     .keys = "Ctrl+N",
     .prompt = QT_TRANSLATE_NOOP("Command", "יצירת מסמך חדש\nחדש"),
     .menu = {kInEditorMenu, kFileMenu, kNewMenu, 1},
     .otherMenu = {kInMainMenu | kInPreviewMenu, kFileMenu, nullptr, 1, kShortNew},
     .toolbar = {1, 1}},
    {.id = FileNewFromTemplate,
     .icon = "mirval-new-from-template",
     .menuText = QT_TRANSLATE_NOOP("Command", "חדש מ&תבנית"),
     .prompt = QT_TRANSLATE_NOOP("Command", "יצירת מסמך חדש מתבנית\nחדש מתבנית"),
     .menu = {kInEditorMenu, kFileMenu, kNewMenu, 1},
     .toolbar = {2, 1}},
    {.id = FileOpen,
     .icon = "document-open",
     .menuText = QT_TRANSLATE_NOOP("Command", "&פתח...\tCtrl+O"),
     .keys = "Ctrl+O",
     .prompt = QT_TRANSLATE_NOOP("Command", "פתיחת מסמך קיים\nפתח"),
     .menu = {kInEveryMenu, kFileMenu, nullptr, 1},
     .toolbar = {3, 1}},
    {.id = FileClose,
     .menuText = QT_TRANSLATE_NOOP("Command", "&סגור"),
     .prompt = QT_TRANSLATE_NOOP("Command", "סגירת מסמך פעיל\nסגור"),
     .menu = {kInDocumentMenus, kFileMenu, nullptr, 1}},
    {.id = FileSave,
     .icon = "document-save",
     .menuText = QT_TRANSLATE_NOOP("Command", "&שמור\tCtrl+S"),
     .keys = "Ctrl+S",
     .prompt = QT_TRANSLATE_NOOP("Command", "שמירת מסמך פעיל\nשמור"),
     .menu = {kInDocumentMenus, kFileMenu, nullptr, 1},
     .toolbar = {4, 1}},
    {.id = FileSaveAs,
     .menuText = QT_TRANSLATE_NOOP("Command", "שמור &בשם..."),
     .prompt = QT_TRANSLATE_NOOP("Command", "שמירת מסמך פעיל בשם חדש\nשמור בשם"),
     .menu = {kInDocumentMenus, kFileMenu, nullptr, 1}},
    {.id = FileSaveAsTemplate,
     .menuText = QT_TRANSLATE_NOOP("Command", "שמור כ&תבנית"),
     .prompt = QT_TRANSLATE_NOOP(
         "Command", "שמור קובץ נוכחי כתבנית לקבצים אחרים\nשמור קובץ נוכחי כתבנית לקבצים אחרים"),
     .menu = {kInEditorMenu, kFileMenu, nullptr, 1}},
    // The encoding the document is saved in (commands of our own).
    {.id = EncodingCp1255,
     .menuText = QT_TRANSLATE_NOOP("Command", "&Windows-1255"),
     .prompt = QT_TRANSLATE_NOOP("Command", "שמירת המסמך בקידוד Windows-1255\nקידוד Windows-1255"),
     .menu = {kInEditorMenu, kFileMenu, kEncodingMenu, 1}},
    {.id = EncodingUtf8,
     .menuText = QT_TRANSLATE_NOOP("Command", "&UTF-8"),
     .prompt = QT_TRANSLATE_NOOP("Command", "שמירת המסמך בקידוד UTF-8\nקידוד UTF-8"),
     .menu = {kInEditorMenu, kFileMenu, kEncodingMenu, 1}},
    {.id = Browse,
     .icon = "mirval-browse",
     .menuText = QT_TRANSLATE_NOOP("Command", "צפיה ב&דפדפן\tCtrl+W"),
     .keys = "Ctrl+W",
     .prompt = QT_TRANSLATE_NOOP("Command", "צפיה בדפדפן\nצפיה בדפדפן"),
     .menu = {kInEditorMenu, kFileMenu, nullptr, 2},
     .toolbar = {5, 2}},
    {.id = Options,
     .menuText = QT_TRANSLATE_NOOP("Command", "&אפשרויות"),
     .prompt = QT_TRANSLATE_NOOP("Command", "קביעת אפשרויות התוכנה"),
     .menu = {kInEditorMenu, kFileMenu, nullptr, 2}},
    {.id = FilePrint,
     .icon = "document-print",
     .menuText = QT_TRANSLATE_NOOP("Command", "&הדפסה...\tCtrl+P"),
     .keys = "Ctrl+P",
     .prompt = QT_TRANSLATE_NOOP("Command", "הדפסת מסמך פעיל\nהדפס"),
     .menu = {kInDocumentMenus, kFileMenu, nullptr, 3},
     .toolbar = {21, 8}},
    // Print preview and print setup belong to printing, which the editor
    // supports; its menu carries them after print.
    {.id = FilePrintPreview,
     .icon = "document-print-preview",
     .menuText = QT_TRANSLATE_NOOP("Command", "הצג &לפני הדפסה"),
     .prompt = QT_TRANSLATE_NOOP("Command", "הצגת המסמך כפי שיודפס\nהצג לפני הדפסה"),
     .menu = {kInEditorMenu, kFileMenu, nullptr, 3}},
    {.id = FilePrintSetup,
     .menuText = QT_TRANSLATE_NOOP("Command", "ה&גדרת הדפסה..."),
     .prompt = QT_TRANSLATE_NOOP("Command", "שינוי מדפסת ואשרויות הדפסה\nהגדרת הדפסה"),
     .menu = {kInEditorMenu, kFileMenu, nullptr, 3}},
    // The placeholder that the recent files replace.
    {.id = FileMruFirst,
     .menuText = QT_TRANSLATE_NOOP("Command", "קובץ אחרון"),
     .prompt = QT_TRANSLATE_NOOP("Command", "פתח מסמך זה"),
     .menu = {kInEveryMenu, kFileMenu, nullptr, 4}},
    {.id = AppExit,
     .menuText = QT_TRANSLATE_NOOP("Command", "י&ציאה"),
     .prompt = QT_TRANSLATE_NOOP("Command", "יציאה מן היישום\nיציאה"),
     .menu = {kInEveryMenu, kFileMenu, nullptr, 5}},

    // Editing.
    {.id = EditUndo,
     .menuText = QT_TRANSLATE_NOOP("Command", "&בטל\tCtrl+Z"),
     .keys = "Ctrl+Z, Alt+Backspace",
     .prompt = QT_TRANSLATE_NOOP("Command", "ביטול הפעולה האחרונה\nבטל"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 1}},
    {.id = UndoConvert,
     .menuText = QT_TRANSLATE_NOOP("Command", "בטל המרה"),
     .prompt = QT_TRANSLATE_NOOP("Command", "בטל את ההמרה האחרונה שבוצעה"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 1}},
    {.id = EditCut,
     .icon = "edit-cut",
     .menuText = QT_TRANSLATE_NOOP("Command", "ג&זור\tCtrl+X"),
     .keys = "Ctrl+X, Shift+Delete",
     .prompt = QT_TRANSLATE_NOOP("Command", "העברת הקטע הנבחר אל הלוח\nגזור"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 2},
     .toolbar = {7, 4}},
    {.id = EditCopy,
     .icon = "edit-copy",
     .menuText = QT_TRANSLATE_NOOP("Command", "ה&עתק\tCtrl+C"),
     .keys = "Ctrl+C, Ctrl+Insert",
     .prompt = QT_TRANSLATE_NOOP("Command", "העתקת הקטע הנבחר אל הלוח\nהעתק"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 2},
     .toolbar = {8, 4}},
    {.id = EditPaste,
     .icon = "edit-paste",
     .menuText = QT_TRANSLATE_NOOP("Command", "ה&דבק\tCtrl+V"),
     .keys = "Ctrl+V, Shift+Insert",
     .prompt = QT_TRANSLATE_NOOP("Command", "הדבקת תכולת הלוח\nהדבק"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 2},
     .toolbar = {9, 4}},
    {.id = PasteVisual,
     .icon = "mirval-paste-visual",
     .menuText = QT_TRANSLATE_NOOP("Command", "הדבק ויזואלי\tCtrl+E"),
     .keys = "Ctrl+E",
     .prompt = QT_TRANSLATE_NOOP("Command", "הדבקת תוכן הלוח בפורמט עברית ויזואלית\nהדבק ויזואלי"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 2},
     .toolbar = {10, 4}},
    {.id = PasteVisualCopy,
     .menuText = QT_TRANSLATE_NOOP("Command", "הדבק ויזואלי והעתק\tCtrl+Q"),
     .keys = "Ctrl+Q",
     .prompt = QT_TRANSLATE_NOOP("Command", "הדבק טקסט מהלוח בפורמט ויזואלי והעתק חזרה ללוח"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 2}},
    {.id = PasteTable,
     .menuText = QT_TRANSLATE_NOOP("Command", "הדבק טבלה\tCtrl+T"),
     .keys = "Ctrl+T",
     .prompt = QT_TRANSLATE_NOOP("Command", "הדבק טבלה מהלוח כטבלת HTML בפורמט ויזואלי"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 2}},
    {.id = EditSelectAll,
     .menuText = QT_TRANSLATE_NOOP("Command", "בחר &הכל\tCtrl+A"),
     .keys = "Ctrl+A",
     .prompt = QT_TRANSLATE_NOOP("Command", "בחירת כל המסמך\nבחר הכל"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 2}},
    {.id = EditFind,
     .menuText = QT_TRANSLATE_NOOP("Command", "חי&פוש...\tF3"),
     .keys = "F3",
     .prompt = QT_TRANSLATE_NOOP("Command", "חיפוש הטקסט שצויין\nחיפוש"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 3}},
    {.id = EditReplace,
     .menuText = QT_TRANSLATE_NOOP("Command", "ה&חלפה...\tCtrl+R"),
     .keys = "Ctrl+R",
     .prompt = QT_TRANSLATE_NOOP("Command", "החלפת הטקסט שצויין בטקסט אחר\nהחלפה"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 3}},
    {.id = GoToLine,
     .menuText = QT_TRANSLATE_NOOP("Command", "&לך לשורה"),
     .prompt = QT_TRANSLATE_NOOP("Command", "העבר את הסמן לשורה המצויינת בטופס"),
     .menu = {kInEditorMenu, kEditMenu, nullptr, 4}},

    // View.
    {.id = ViewToolbar,
     .menuText = QT_TRANSLATE_NOOP("Command", "&סרגל כלים"),
     .prompt = QT_TRANSLATE_NOOP("Command", "הצגת או הסתרת סרגל הכלים\nהחלף מצב סרגל כלים"),
     .menu = {kInEveryMenu, kViewMenu, nullptr, 1}},
    {.id = ViewStatusBar,
     .menuText = QT_TRANSLATE_NOOP("Command", "&שורת מצב"),
     .prompt = QT_TRANSLATE_NOOP("Command", "הצגת או הסתרת שורת מצב\nהחלף מצב שורת מצב"),
     .menu = {kInEveryMenu, kViewMenu, nullptr, 1}},
    {.id = DosDisplay,
     .menuText = QT_TRANSLATE_NOOP("Command", "הצג טקסט &דוס"),
     .prompt = QT_TRANSLATE_NOOP("Command", "הצג טקסט דוס"),
     .menu = {kInEditorMenu, kViewMenu, nullptr, 2}},
    {.id = ShowSyntax,
     .menuText = QT_TRANSLATE_NOOP("Command", "הצג &צבע שונה לטקסט וקוד"),
     .prompt = QT_TRANSLATE_NOOP("Command", "הצג צבע שונה לטקסט וקוד\nהצג צבע"),
     .menu = {kInEditorMenu, kViewMenu, nullptr, 3}},
    {.id = RefreshSyntax,
     .icon = "mirval-refresh-syntax",
     .menuText = QT_TRANSLATE_NOOP("Command", "&רענן צבע שונה לטקסט וקוד\tF7"),
     .keys = "F7",
     .prompt = QT_TRANSLATE_NOOP("Command", "רענן צבע (F7)\nרענן צבע (F7)"),
     .menu = {kInEditorMenu, kViewMenu, nullptr, 3},
     .toolbar = {6, 3}},

    // Conversion.
    {.id = ConvertToVisual,
     .icon = "mirval-convert-to-visual",
     .menuText = QT_TRANSLATE_NOOP("Command", "טקסט ל-HTML &ויזואלי\tCtrl+H"),
     .keys = "Ctrl+H",
     .prompt = QT_TRANSLATE_NOOP("Command", "ויזואלי HTML המרה של טקסט לוגי ל\nHTMLהמרה ל"),
     .menu = {kInEditorMenu, kConvertMenu, nullptr, 1},
     .toolbar = {11, 5}},
    {.id = ConvertToLogical,
     .icon = "mirval-convert-to-logical",
     .menuText = QT_TRANSLATE_NOOP("Command", "HTML ויזואלי ל&טקסט לוגי"),
     .prompt = QT_TRANSLATE_NOOP("Command", "ויזואלי לטקסט לוגי HTML המרת\nלטקסט HTML המרה מ"),
     .menu = {kInEditorMenu, kConvertMenu, nullptr, 1},
     .toolbar = {12, 5}},
    {.id = ConvertDos,
     .menuText = QT_TRANSLATE_NOOP("Command", "HTML ויזואלי לטקסט &דוס"),
     .prompt = QT_TRANSLATE_NOOP("Command", "ויזואלי לטקסט דוס HTML המרת\nלדוס HTML המרת"),
     .menu = {kInEditorMenu, kConvertMenu, nullptr, 1}},
    {.id = ConvertSemiLogical,
     .menuText = QT_TRANSLATE_NOOP("Command", "וי&זואלי<-> לוגי"),
     .prompt = QT_TRANSLATE_NOOP("Command", "בין פורמט ויזואלי לסמי לוגי ולהיפך HTML המרת"),
     .menu = {kInEditorMenu, kConvertMenu, nullptr, 1}},
    {.id = ConvertToModern,
     .menuText = QT_TRANSLATE_NOOP("Command", "המר לדף &מודרני (UTF-8)"),
     .prompt = QT_TRANSLATE_NOOP(
         "Command", "המרת דף ויזואלי לדף HTML לוגי ב-UTF-8 לדפדפנים של היום\nהמרה לדף מודרני"),
     .menu = {kInEditorMenu, kConvertMenu, nullptr, 1}},
    {.id = SpecialChars,
     .menuText = QT_TRANSLATE_NOOP("Command", "&תווים מיוחדים לטקסט"),
     .prompt = QT_TRANSLATE_NOOP("Command", "לטקסט רגיל (&acute, #1550...) המרת תווים מיוחדים"),
     .menu = {kInEditorMenu, kConvertMenu, nullptr, 1}},
    {.id = LowerTags,
     .menuText = QT_TRANSLATE_NOOP("Command", "תגי HTML גבוהים לנמוכים"),
     .prompt = QT_TRANSLATE_NOOP(
         "Command",
         "(lowercase) לנמוכים (uppercase) גבוהים HTML המרת תגי\nגבוהים לנמוכים HTML המרת תגי"),
     .menu = {kInEditorMenu, kConvertMenu, nullptr, 1}},

    // Markup.
    {.id = Bold,
     .icon = "format-text-bold",
     .menuText = QT_TRANSLATE_NOOP("Command", "&מודגש\tCtrl+B"),
     .keys = "Ctrl+B",
     .prompt = QT_TRANSLATE_NOOP("Command", "סמן טקסט כמודגש\nמודגש"),
     .menu = {kInEditorMenu, kFormatMenu, nullptr, 1},
     .toolbar = {13, 6}},
    {.id = Underline,
     .icon = "format-text-underline",
     .menuText = QT_TRANSLATE_NOOP("Command", "&קו תחתי\tCtrl+U"),
     .keys = "Ctrl+U",
     .prompt = QT_TRANSLATE_NOOP("Command", "הוסף קו תחתי\nקו תחתי"),
     .menu = {kInEditorMenu, kFormatMenu, nullptr, 1},
     .toolbar = {15, 6}},
    {.id = Italic,
     .icon = "format-text-italic",
     .menuText = QT_TRANSLATE_NOOP("Command", "מו&טה\tCtrl+I"),
     .keys = "Ctrl+I",
     .prompt = QT_TRANSLATE_NOOP("Command", "סמן טקסט כמוטה\nמוטה"),
     .menu = {kInEditorMenu, kFormatMenu, nullptr, 1},
     .toolbar = {14, 6}},
    {.id = FontTag,
     .icon = "mirval-font",
     .menuText = QT_TRANSLATE_NOOP("Command", "&פונט\tCtrl+F"),
     .keys = "Ctrl+F",
     .prompt = QT_TRANSLATE_NOOP("Command", "הוסף תג פונט\nהוסף תג פונט"),
     .menu = {kInEditorMenu, kFormatMenu, nullptr, 1},
     .toolbar = {16, 6}},
    {.id = InsertImage,
     .icon = "mirval-insert-image",
     .menuText = QT_TRANSLATE_NOOP("Command", "&תמונה (GIF)\tCtrl+G"),
     .keys = "Ctrl+G",
     .prompt = QT_TRANSLATE_NOOP("Command", "הכנסת תג תמונה במיקום הנוכחי בקובץ"),
     .menu = {kInEditorMenu, kInsertMenu, nullptr, 1}},
    // The item shows Ctrl+L, but the key is LinkKey's.
    {.id = Link,
     .icon = "insert-link",
     .menuText = QT_TRANSLATE_NOOP("Command", "&קישור (לינק)\tCtrl+L"),
     .prompt = QT_TRANSLATE_NOOP("Command", "סמן טקסט כלינק\nלינק"),
     .menu = {kInEditorMenu, kInsertMenu, nullptr, 1},
     .toolbar = {17, 6}},
    {.id = InsertTable,
     .icon = "mirval-insert-table",
     .menuText = QT_TRANSLATE_NOOP("Command", "&טבלה"),
     .prompt = QT_TRANSLATE_NOOP("Command", "הוסף טבלה\nטבלה"),
     .menu = {kInEditorMenu, kInsertMenu, nullptr, 1}},
    {.id = LinkKey, .keys = "Ctrl+L"},
    {.id = AlignLeft,
     .icon = "format-justify-left",
     .prompt = QT_TRANSLATE_NOOP("Command", "יישר טקסט לשמאל\nיישר לשמאל"),
     .toolbar = {18, 7}},
    {.id = AlignCenter,
     .icon = "format-justify-center",
     .prompt = QT_TRANSLATE_NOOP("Command", "יישר טקסט למרכז\nיישר למרכז"),
     .toolbar = {19, 7}},
    {.id = AlignRight,
     .icon = "format-justify-right",
     .prompt = QT_TRANSLATE_NOOP("Command", "יישר טקסט לימין\nיישר לימין"),
     .toolbar = {20, 7}},

    // Windows.
    {.id = WindowNew,
     .menuText = QT_TRANSLATE_NOOP("Command", "&חלון חדש"),
     .prompt = QT_TRANSLATE_NOOP("Command", "פתח חלון חדש למסמך הפעיל\nחלון חדש"),
     .menu = {kInDocumentMenus, kWindowMenu, nullptr, 1}},
    {.id = WindowCascade,
     .menuText = QT_TRANSLATE_NOOP("Command", "&מדורג"),
     .prompt = QT_TRANSLATE_NOOP("Command", "סדר את החלונות בצורה מודרגת\nדרג"),
     .menu = {kInDocumentMenus, kWindowMenu, nullptr, 1}},
    {.id = WindowTile,
     .menuText = QT_TRANSLATE_NOOP("Command", "&פרוש"),
     .prompt = QT_TRANSLATE_NOOP("Command", "פרישת החלונות\nפרוש"),
     .menu = {kInDocumentMenus, kWindowMenu, nullptr, 1}},
    {.id = WindowArrange,
     .menuText = QT_TRANSLATE_NOOP("Command", "&סדר"),
     .prompt = QT_TRANSLATE_NOOP("Command", "סדר צלמיות בתחתית החלון\nסדר"),
     .menu = {kInDocumentMenus, kWindowMenu, nullptr, 1}},
    // Next and previous pane: with one view in each window there is no other
    // pane, so these keys never find a command that is enabled.
    {.id = NextPane,
     .keys = "F6",
     .prompt = QT_TRANSLATE_NOOP("Command", "עבור לחלונית הבאה\nהחלונית הבאה")},
    {.id = PrevPane,
     .keys = "Shift+F6",
     .prompt = QT_TRANSLATE_NOOP("Command", "חזור לחלונית הקודמת\nחלונית קודמת")},

    // Help.
    {.id = HelpFile,
     .icon = "help-contents",
     .menuText = QT_TRANSLATE_NOOP("Command", "קובץ ה&עזרה"),
     .prompt = QT_TRANSLATE_NOOP("Command", "מציג את קובץ העזרה של התוכנה"),
     .menu = {kInEveryMenu, kHelpMenu, nullptr, 1},
     .toolbar = {22, 8}},
    {.id = HomePage,
     .menuText = QT_TRANSLATE_NOOP("Command", "&דף הבית של התוכנה"),
     .prompt = QT_TRANSLATE_NOOP("Command", "פותח את דף הבית של התוכנה"),
     .menu = {kInEveryMenu, kHelpMenu, nullptr, 1}},
    {.id = AppAbout,
     .menuText = QT_TRANSLATE_NOOP("Command", "&אודות MIRVAL..."),
     .prompt = QT_TRANSLATE_NOOP("Command", "הצג מידע אודות היישום\nאודות"),
     .menu = {kInEveryMenu, kHelpMenu, nullptr, 2}},

    // The status bar's line indicator, as wide as its prompt.
    {.id = LineIndicator, .prompt = QT_TRANSLATE_NOOP("Command", "                     ")},
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
