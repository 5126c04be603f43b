#include "app/commandtable.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

const char* const kContext = "Command";

// The command list.
const CommandInfo kCommands[] = {
    {57600, "&קובץ > &חדש", QT_TRANSLATE_NOOP("Command", "&מסמך חדש\tCtrl+N"), "Ctrl+N", 1,
     QT_TRANSLATE_NOOP("Command", "יצירת מסמך חדש\nחדש")},
    {32774, "&קובץ > &חדש", QT_TRANSLATE_NOOP("Command", "חדש מ&תבנית"), "", 2,
     QT_TRANSLATE_NOOP("Command", "יצירת מסמך חדש מתבנית\nחדש מתבנית")},
    {57601, "&קובץ", QT_TRANSLATE_NOOP("Command", "&פתח...\tCtrl+O"), "Ctrl+O", 3,
     QT_TRANSLATE_NOOP("Command", "פתיחת מסמך קיים\nפתח")},
    {57602, "&קובץ", QT_TRANSLATE_NOOP("Command", "&סגור"), "", 0,
     QT_TRANSLATE_NOOP("Command", "סגירת מסמך פעיל\nסגור")},
    {57603, "&קובץ", QT_TRANSLATE_NOOP("Command", "&שמור\tCtrl+S"), "Ctrl+S", 4,
     QT_TRANSLATE_NOOP("Command", "שמירת מסמך פעיל\nשמור")},
    {57604, "&קובץ", QT_TRANSLATE_NOOP("Command", "שמור &בשם..."), "", 0,
     QT_TRANSLATE_NOOP("Command", "שמירת מסמך פעיל בשם חדש\nשמור בשם")},
    {32809, "&קובץ", QT_TRANSLATE_NOOP("Command", "שמור כ&תבנית"), "", 0,
     QT_TRANSLATE_NOOP("Command",
                       "שמור קובץ נוכחי כתבנית לקבצים אחרים\nשמור קובץ נוכחי כתבנית לקבצים אחרים")},
    {32773, "&קובץ", QT_TRANSLATE_NOOP("Command", "צפיה ב&דפדפן\tCtrl+W"), "Ctrl+W", 5,
     QT_TRANSLATE_NOOP("Command", "צפיה בדפדפן\nצפיה בדפדפן")},
    {32796, "&קובץ", QT_TRANSLATE_NOOP("Command", "&אפשרויות"), "", 0,
     QT_TRANSLATE_NOOP("Command", "קביעת אפשרויות התוכנה")},
    {57607, "&קובץ", QT_TRANSLATE_NOOP("Command", "&הדפסה...\tCtrl+P"), "Ctrl+P", 21,
     QT_TRANSLATE_NOOP("Command", "הדפסת מסמך פעיל\nהדפס")},
    {57616, "&קובץ", QT_TRANSLATE_NOOP("Command", "קובץ אחרון"), "", 0,
     QT_TRANSLATE_NOOP("Command", "פתח מסמך זה")},
    {57665, "&קובץ", QT_TRANSLATE_NOOP("Command", "י&ציאה"), "", 0,
     QT_TRANSLATE_NOOP("Command", "יציאה מן היישום\nיציאה")},
    {57643, "&עריכה", QT_TRANSLATE_NOOP("Command", "&בטל\tCtrl+Z"), "Ctrl+Z, Alt+Backspace", 0,
     QT_TRANSLATE_NOOP("Command", "ביטול הפעולה האחרונה\nבטל")},
    {32792, "&עריכה", QT_TRANSLATE_NOOP("Command", "בטל המרה"), "", 0,
     QT_TRANSLATE_NOOP("Command", "בטל את ההמרה האחרונה שבוצעה")},
    {57635, "&עריכה", QT_TRANSLATE_NOOP("Command", "ג&זור\tCtrl+X"), "Ctrl+X, Shift+Delete", 7,
     QT_TRANSLATE_NOOP("Command", "העברת הקטע הנבחר אל הלוח\nגזור")},
    {57634, "&עריכה", QT_TRANSLATE_NOOP("Command", "ה&עתק\tCtrl+C"), "Ctrl+C, Ctrl+Insert", 8,
     QT_TRANSLATE_NOOP("Command", "העתקת הקטע הנבחר אל הלוח\nהעתק")},
    {57637, "&עריכה", QT_TRANSLATE_NOOP("Command", "ה&דבק\tCtrl+V"), "Ctrl+V, Shift+Insert", 9,
     QT_TRANSLATE_NOOP("Command", "הדבקת תכולת הלוח\nהדבק")},
    {32776, "&עריכה", QT_TRANSLATE_NOOP("Command", "הדבק ויזואלי\tCtrl+E"), "Ctrl+E", 10,
     QT_TRANSLATE_NOOP("Command", "הדבקת תוכן הלוח בפורמט עברית ויזואלית\nהדבק ויזואלי")},
    {32791, "&עריכה", QT_TRANSLATE_NOOP("Command", "הדבק ויזואלי והעתק\tCtrl+Q"), "Ctrl+Q", 0,
     QT_TRANSLATE_NOOP("Command", "הדבק טקסט מהלוח בפורמט ויזואלי והעתק חזרה ללוח")},
    {32790, "&עריכה", QT_TRANSLATE_NOOP("Command", "הדבק טבלה\tCtrl+T"), "Ctrl+T", 0,
     QT_TRANSLATE_NOOP("Command", "הדבק טבלה מהלוח כטבלת HTML בפורמט ויזואלי")},
    {57642, "&עריכה", QT_TRANSLATE_NOOP("Command", "בחר &הכל\tCtrl+A"), "Ctrl+A", 0,
     QT_TRANSLATE_NOOP("Command", "בחירת כל המסמך\nבחר הכל")},
    {57636, "&עריכה", QT_TRANSLATE_NOOP("Command", "חי&פוש...\tF3"), "F3", 0,
     QT_TRANSLATE_NOOP("Command", "חיפוש הטקסט שצויין\nחיפוש")},
    {57641, "&עריכה", QT_TRANSLATE_NOOP("Command", "ה&חלפה...\tCtrl+R"), "Ctrl+R", 0,
     QT_TRANSLATE_NOOP("Command", "החלפת הטקסט שצויין בטקסט אחר\nהחלפה")},
    {32797, "&עריכה", QT_TRANSLATE_NOOP("Command", "&לך לשורה"), "", 0,
     QT_TRANSLATE_NOOP("Command", "העבר את הסמן לשורה המצויינת בטופס")},
    {59392, "&תצוגה", QT_TRANSLATE_NOOP("Command", "&סרגל כלים"), "", 0,
     QT_TRANSLATE_NOOP("Command", "הצגת או הסתרת סרגל הכלים\nהחלף מצב סרגל כלים")},
    {59393, "&תצוגה", QT_TRANSLATE_NOOP("Command", "&שורת מצב"), "", 0,
     QT_TRANSLATE_NOOP("Command", "הצגת או הסתרת שורת מצב\nהחלף מצב שורת מצב")},
    {32799, "&תצוגה", QT_TRANSLATE_NOOP("Command", "הצג טקסט &דוס"), "", 0,
     QT_TRANSLATE_NOOP("Command", "הצג טקסט דוס")},
    {32806, "&תצוגה", QT_TRANSLATE_NOOP("Command", "הצג &צבע שונה לטקסט וקוד"), "", 0,
     QT_TRANSLATE_NOOP("Command", "הצג צבע שונה לטקסט וקוד\nהצג צבע")},
    {32807, "&תצוגה", QT_TRANSLATE_NOOP("Command", "&רענן צבע שונה לטקסט וקוד\tF7"), "F7", 6,
     QT_TRANSLATE_NOOP("Command", "רענן צבע (F7)\nרענן צבע (F7)")},
    {32771, "&המרה...", QT_TRANSLATE_NOOP("Command", "טקסט ל-HTML &ויזואלי\tCtrl+H"), "Ctrl+H", 11,
     QT_TRANSLATE_NOOP("Command", "ויזואלי HTML המרה של טקסט לוגי ל\nHTMLהמרה ל")},
    {32772, "&המרה...", QT_TRANSLATE_NOOP("Command", "HTML ויזואלי ל&טקסט לוגי"), "", 12,
     QT_TRANSLATE_NOOP("Command", "ויזואלי לטקסט לוגי HTML המרת\nלטקסט HTML המרה מ")},
    {32787, "&המרה...", QT_TRANSLATE_NOOP("Command", "HTML ויזואלי לטקסט &דוס"), "", 0,
     QT_TRANSLATE_NOOP("Command", "ויזואלי לטקסט דוס HTML המרת\nלדוס HTML המרת")},
    {32788, "&המרה...", QT_TRANSLATE_NOOP("Command", "וי&זואלי<-> לוגי"), "", 0,
     QT_TRANSLATE_NOOP("Command", "בין פורמט ויזואלי לסמי לוגי ולהיפך HTML המרת")},
    {32789, "&המרה...", QT_TRANSLATE_NOOP("Command", "&תווים מיוחדים לטקסט"), "", 0,
     QT_TRANSLATE_NOOP("Command", "לטקסט רגיל (&acute, #1550...) המרת תווים מיוחדים")},
    {32804, "&המרה...", QT_TRANSLATE_NOOP("Command", "תגי HTML גבוהים לנמוכים"), "", 0,
     QT_TRANSLATE_NOOP(
         "Command",
         "(lowercase) לנמוכים (uppercase) גבוהים HTML המרת תגי\nגבוהים לנמוכים HTML המרת תגי")},
    {32779, "&עיצוב", QT_TRANSLATE_NOOP("Command", "&מודגש\tCtrl+B"), "Ctrl+B", 13,
     QT_TRANSLATE_NOOP("Command", "סמן טקסט כמודגש\nמודגש")},
    {32781, "&עיצוב", QT_TRANSLATE_NOOP("Command", "&קו תחתי\tCtrl+U"), "Ctrl+U", 15,
     QT_TRANSLATE_NOOP("Command", "הוסף קו תחתי\nקו תחתי")},
    {32780, "&עיצוב", QT_TRANSLATE_NOOP("Command", "מו&טה\tCtrl+I"), "Ctrl+I", 14,
     QT_TRANSLATE_NOOP("Command", "סמן טקסט כמוטה\nמוטה")},
    {32803, "&עיצוב", QT_TRANSLATE_NOOP("Command", "&פונט\tCtrl+F"), "Ctrl+F", 16,
     QT_TRANSLATE_NOOP("Command", "הוסף תג פונט\nהוסף תג פונט")},
    {32793, "הו&ספה", QT_TRANSLATE_NOOP("Command", "&תמונה (GIF)\tCtrl+G"), "Ctrl+G", 0,
     QT_TRANSLATE_NOOP("Command", "הכנסת תג תמונה במיקום הנוכחי בקובץ")},
    {32794, "הו&ספה", QT_TRANSLATE_NOOP("Command", "&קישור (לינק)\tCtrl+L"), "", 17,
     QT_TRANSLATE_NOOP("Command", "סמן טקסט כלינק\nלינק")},
    {32795, "הו&ספה", QT_TRANSLATE_NOOP("Command", "&טבלה"), "", 0,
     QT_TRANSLATE_NOOP("Command", "הוסף טבלה\nטבלה")},
    {57648, "&חלון", QT_TRANSLATE_NOOP("Command", "&חלון חדש"), "", 0,
     QT_TRANSLATE_NOOP("Command", "פתח חלון חדש למסמך הפעיל\nחלון חדש")},
    {57650, "&חלון", QT_TRANSLATE_NOOP("Command", "&מדורג"), "", 0,
     QT_TRANSLATE_NOOP("Command", "סדר את החלונות בצורה מודרגת\nדרג")},
    {57651, "&חלון", QT_TRANSLATE_NOOP("Command", "&פרוש"), "", 0,
     QT_TRANSLATE_NOOP("Command", "פרישת החלונות\nפרוש")},
    {57649, "&חלון", QT_TRANSLATE_NOOP("Command", "&סדר"), "", 0,
     QT_TRANSLATE_NOOP("Command", "סדר צלמיות בתחתית החלון\nסדר")},
    {32800, "ע&זרה", QT_TRANSLATE_NOOP("Command", "קובץ ה&עזרה"), "", 22,
     QT_TRANSLATE_NOOP("Command", "מציג את קובץ העזרה של התוכנה")},
    {32801, "ע&זרה", QT_TRANSLATE_NOOP("Command", "&דף הבית של התוכנה"), "", 0,
     QT_TRANSLATE_NOOP("Command", "פותח את דף הבית של התוכנה")},
    {57664, "ע&זרה", QT_TRANSLATE_NOOP("Command", "&אודות MIRVAL..."), "", 0,
     QT_TRANSLATE_NOOP("Command", "הצג מידע אודות היישום\nאודות")},
    {32802, "", "", "Ctrl+L", 0, ""},
    {32784, "", "", "", 18, QT_TRANSLATE_NOOP("Command", "יישר טקסט לשמאל\nיישר לשמאל")},
    {32785, "", "", "", 19, QT_TRANSLATE_NOOP("Command", "יישר טקסט למרכז\nיישר למרכז")},
    {32786, "", "", "", 20, QT_TRANSLATE_NOOP("Command", "יישר טקסט לימין\nיישר לימין")},
    {32798, "", "", "", 0, QT_TRANSLATE_NOOP("Command", "                     ")},
    // Print setup and print preview were reachable only from the menu of
    // in-place editing of embedded objects, which has no meaning here; the
    // editor menu carries them after print, since printing is supported.
    {57606, "&קובץ", QT_TRANSLATE_NOOP("Command", "ה&גדרת הדפסה..."), "", 0,
     QT_TRANSLATE_NOOP("Command", "שינוי מדפסת ואשרויות הדפסה\nהגדרת הדפסה")},
    {57609, "&קובץ", QT_TRANSLATE_NOOP("Command", "הצג &לפני הדפסה"), "", 0,
     QT_TRANSLATE_NOOP("Command", "הצגת המסמך כפי שיודפס\nהצג לפני הדפסה")},
    // Next and previous pane: with one view in each window there is no other
    // pane, so these keys never find a command that is enabled.
    {57680, "", "", "F6", 0, QT_TRANSLATE_NOOP("Command", "עבור לחלונית הבאה\nהחלונית הבאה")},
    {57681, "", "", "Shift+F6", 0,
     QT_TRANSLATE_NOOP("Command", "חזור לחלונית הקודמת\nחלונית קודמת")},
};

QString Translate(const char* text) {
    return QCoreApplication::translate(kContext, text);
}

}  // namespace

QString CommandInfo::MenuText() const {
    return *menuText != '\0' ? Translate(menuText) : QString();
}

QStringList CommandInfo::MenuPath() const {
    if (*menuPath == '\0') {
        return {};
    }
    QStringList path = QString::fromUtf8(menuPath).split(QStringLiteral(" > "));
    for (QString& level : path) {
        level = QCoreApplication::translate(kContext, level.toUtf8().constData());
    }
    return path;
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

MenuEntry Item(int id, const char* text = nullptr) {
    MenuEntry entry;
    entry.kind = MenuEntry::Kind::Command;
    entry.id = id;
    if (text != nullptr) {
        entry.text = Translate(text);
    } else if (const CommandInfo* info = FindCommand(id)) {
        entry.text = info->MenuText();
    }
    return entry;
}

MenuEntry Separator() {
    return MenuEntry{};
}

MenuEntry Popup(const char* title, std::vector<MenuEntry> entries) {
    MenuEntry entry;
    entry.kind = MenuEntry::Kind::Popup;
    entry.text = Translate(title);
    entry.entries = std::move(entries);
    return entry;
}

const char* const kFileMenu = QT_TRANSLATE_NOOP("Command", "&קובץ");
const char* const kNewMenu = QT_TRANSLATE_NOOP("Command", "&חדש");
const char* const kEditMenu = QT_TRANSLATE_NOOP("Command", "&עריכה");
const char* const kViewMenu = QT_TRANSLATE_NOOP("Command", "&תצוגה");
const char* const kConvertMenu = QT_TRANSLATE_NOOP("Command", "&המרה...");
const char* const kFormatMenu = QT_TRANSLATE_NOOP("Command", "&עיצוב");
const char* const kInsertMenu = QT_TRANSLATE_NOOP("Command", "הו&ספה");
const char* const kWindowMenu = QT_TRANSLATE_NOOP("Command", "&חלון");
const char* const kHelpMenu = QT_TRANSLATE_NOOP("Command", "ע&זרה");

// The texts menus 128 and 130 give new and open.
const char* const kShortNew = QT_TRANSLATE_NOOP("Command", "&חדש\tCtrl+N");
const char* const kShortOpen = QT_TRANSLATE_NOOP("Command", "&פתח...\tCtrl+O");

MenuEntry WindowPopup() {
    return Popup(kWindowMenu, {Item(CommandId::WindowNew), Item(CommandId::WindowCascade),
                               Item(CommandId::WindowTile), Item(CommandId::WindowArrange)});
}

MenuEntry HelpPopup() {
    return Popup(kHelpMenu, {Item(CommandId::HelpFile), Item(CommandId::HomePage), Separator(),
                             Item(CommandId::AppAbout)});
}

MenuEntry ViewPopupShort() {
    return Popup(kViewMenu, {Item(CommandId::ViewToolbar), Item(CommandId::ViewStatusBar)});
}

const int kToolbar[] = {
    57600, 32774, 57601, 57603, 0,     32773, 0, 32807, 0,     57635,
    57634, 57637, 32776, 0,     32771, 32772, 0, 32779, 32780, 32781,
    32803, 32794, 0,     32784, 32785, 32786, 0, 57607, 32800,
};

}  // namespace

std::vector<MenuEntry> MenuResource(int resourceId) {
    switch (resourceId) {
        case kMainMenu:
            return {
                Popup(kFileMenu,
                      {Item(CommandId::FileNew, kShortNew), Item(CommandId::FileOpen, kShortOpen),
                       Separator(), Item(CommandId::FileMruFirst), Separator(),
                       Item(CommandId::AppExit)}),
                ViewPopupShort(),
                HelpPopup(),
            };
        case kEditorMenu:
            return {
                Popup(kFileMenu, {Popup(kNewMenu, {Item(57600), Item(32774)}), Item(57601),
                                  Item(57602), Item(57603), Item(57604), Item(32809), Separator(),
                                  Item(32773), Item(32796), Separator(), Item(57607), Item(57609),
                                  Item(57606), Separator(), Item(57616), Separator(), Item(57665)}),
                Popup(kEditMenu, {Item(57643), Item(32792), Separator(), Item(57635), Item(57634),
                                  Item(57637), Item(32776), Item(32791), Item(32790), Item(57642),
                                  Separator(), Item(57636), Item(57641), Separator(), Item(32797)}),
                Popup(kViewMenu, {Item(59392), Item(59393), Separator(), Item(32799), Separator(),
                                  Item(32806), Item(32807)}),
                Popup(kConvertMenu, {Item(32771), Item(32772), Item(32787), Item(32788),
                                     Item(32789), Item(32804)}),
                Popup(kFormatMenu, {Item(32779), Item(32781), Item(32780), Item(32803)}),
                Popup(kInsertMenu, {Item(32793), Item(32794), Item(32795)}),
                WindowPopup(),
                HelpPopup(),
            };
        case kPreviewMenu:
            return {
                Popup(kFileMenu,
                      {Item(CommandId::FileNew, kShortNew), Item(CommandId::FileOpen, kShortOpen),
                       Item(CommandId::FileClose), Item(CommandId::FileSave),
                       Item(CommandId::FileSaveAs), Separator(), Item(CommandId::FilePrint),
                       Separator(), Item(CommandId::FileMruFirst), Separator(),
                       Item(CommandId::AppExit)}),
                ViewPopupShort(),
                WindowPopup(),
                HelpPopup(),
            };
        default:
            return {};
    }
}

std::span<const int> ToolbarButtons() {
    return kToolbar;
}
