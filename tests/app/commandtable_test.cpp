// The command table against the program's command list, copied here
// verbatim (without the column naming each command's handler): menu texts,
// keys, toolbar places and prompts must match it character for character.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSet>
#include <functional>
#include <map>

#include "app/commandtable.h"

namespace {

const char kCommandList[] =
    R"LIST(| 57600 | &קובץ > &חדש | "&מסמך חדש\tCtrl+N" | Ctrl+N | 1 | "יצירת מסמך חדש\nחדש" |
| 32774 | &קובץ > &חדש | "חדש מ&תבנית" | — | 2 | "יצירת מסמך חדש מתבנית\nחדש מתבנית" |
| 57601 | &קובץ | "&פתח...\tCtrl+O" | Ctrl+O | 3 | "פתיחת מסמך קיים\nפתח" |
| 57602 | &קובץ | "&סגור" | — | — | "סגירת מסמך פעיל\nסגור" |
| 57603 | &קובץ | "&שמור\tCtrl+S" | Ctrl+S | 4 | "שמירת מסמך פעיל\nשמור" |
| 57604 | &קובץ | "שמור &בשם..." | — | — | "שמירת מסמך פעיל בשם חדש\nשמור בשם" |
| 32809 | &קובץ | "שמור כ&תבנית" | — | — | "שמור קובץ נוכחי כתבנית לקבצים אחרים\nשמור קובץ נוכחי כתבנית לקבצים אחרים" |
| 32773 | &קובץ | "צפיה ב&דפדפן\tCtrl+W" | Ctrl+W | 5 | "צפיה בדפדפן\nצפיה בדפדפן" |
| 32796 | &קובץ | "&אפשרויות" | — | — | "קביעת אפשרויות התוכנה" |
| 57607 | &קובץ | "&הדפסה...\tCtrl+P" | Ctrl+P | 21 | "הדפסת מסמך פעיל\nהדפס" |
| 57616 | &קובץ | "קובץ אחרון" | — | — | "פתח מסמך זה" |
| 57665 | &קובץ | "י&ציאה" | — | — | "יציאה מן היישום\nיציאה" |
| 57643 | &עריכה | "&בטל\tCtrl+Z" | Ctrl+Z, Alt+Backspace | — | "ביטול הפעולה האחרונה\nבטל" |
| 32792 | &עריכה | "בטל המרה" | — | — | "בטל את ההמרה האחרונה שבוצעה" |
| 57635 | &עריכה | "ג&זור\tCtrl+X" | Ctrl+X, Shift+Delete | 7 | "העברת הקטע הנבחר אל הלוח\nגזור" |
| 57634 | &עריכה | "ה&עתק\tCtrl+C" | Ctrl+C, Ctrl+Insert | 8 | "העתקת הקטע הנבחר אל הלוח\nהעתק" |
| 57637 | &עריכה | "ה&דבק\tCtrl+V" | Ctrl+V, Shift+Insert | 9 | "הדבקת תכולת הלוח\nהדבק" |
| 32776 | &עריכה | "הדבק ויזואלי\tCtrl+E" | Ctrl+E | 10 | "הדבקת תוכן הלוח בפורמט עברית ויזואלית\nהדבק ויזואלי" |
| 32791 | &עריכה | "הדבק ויזואלי והעתק\tCtrl+Q" | Ctrl+Q | — | "הדבק טקסט מהלוח בפורמט ויזואלי והעתק חזרה ללוח" |
| 32790 | &עריכה | "הדבק טבלה\tCtrl+T" | Ctrl+T | — | "הדבק טבלה מהלוח כטבלת HTML בפורמט ויזואלי" |
| 57642 | &עריכה | "בחר &הכל\tCtrl+A" | Ctrl+A | — | "בחירת כל המסמך\nבחר הכל" |
| 57636 | &עריכה | "חי&פוש...\tF3" | F3 | — | "חיפוש הטקסט שצויין\nחיפוש" |
| 57641 | &עריכה | "ה&חלפה...\tCtrl+R" | Ctrl+R | — | "החלפת הטקסט שצויין בטקסט אחר\nהחלפה" |
| 32797 | &עריכה | "&לך לשורה" | — | — | "העבר את הסמן לשורה המצויינת בטופס" |
| 59392 | &תצוגה | "&סרגל כלים" | — | — | "הצגת או הסתרת סרגל הכלים\nהחלף מצב סרגל כלים" |
| 59393 | &תצוגה | "&שורת מצב" | — | — | "הצגת או הסתרת שורת מצב\nהחלף מצב שורת מצב" |
| 32799 | &תצוגה | "הצג טקסט &דוס" | — | — | "הצג טקסט דוס" |
| 32806 | &תצוגה | "הצג &צבע שונה לטקסט וקוד" | — | — | "הצג צבע שונה לטקסט וקוד\nהצג צבע" |
| 32807 | &תצוגה | "&רענן צבע שונה לטקסט וקוד\tF7" | F7 | 6 | "רענן צבע (F7)\nרענן צבע (F7)" |
| 32771 | &המרה... | "טקסט ל-HTML &ויזואלי\tCtrl+H" | Ctrl+H | 11 | "ויזואלי HTML המרה של טקסט לוגי ל\nHTMLהמרה ל" |
| 32772 | &המרה... | "HTML ויזואלי ל&טקסט לוגי" | — | 12 | "ויזואלי לטקסט לוגי HTML המרת\nלטקסט HTML המרה מ" |
| 32787 | &המרה... | "HTML ויזואלי לטקסט &דוס" | — | — | "ויזואלי לטקסט דוס HTML המרת\nלדוס HTML המרת" |
| 32788 | &המרה... | "וי&זואלי<-> לוגי" | — | — | "בין פורמט ויזואלי לסמי לוגי ולהיפך HTML המרת" |
| 32789 | &המרה... | "&תווים מיוחדים לטקסט" | — | — | "לטקסט רגיל (&acute, #1550...) המרת תווים מיוחדים" |
| 32804 | &המרה... | "תגי HTML גבוהים לנמוכים" | — | — | "(lowercase) לנמוכים (uppercase) גבוהים HTML המרת תגי\nגבוהים לנמוכים HTML המרת תגי" |
| 32779 | &עיצוב | "&מודגש\tCtrl+B" | Ctrl+B | 13 | "סמן טקסט כמודגש\nמודגש" |
| 32781 | &עיצוב | "&קו תחתי\tCtrl+U" | Ctrl+U | 15 | "הוסף קו תחתי\nקו תחתי" |
| 32780 | &עיצוב | "מו&טה\tCtrl+I" | Ctrl+I | 14 | "סמן טקסט כמוטה\nמוטה" |
| 32803 | &עיצוב | "&פונט\tCtrl+F" | Ctrl+F | 16 | "הוסף תג פונט\nהוסף תג פונט" |
| 32793 | הו&ספה | "&תמונה (GIF)\tCtrl+G" | Ctrl+G | — | "הכנסת תג תמונה במיקום הנוכחי בקובץ" |
| 32794 | הו&ספה | "&קישור (לינק)\tCtrl+L" | — | 17 | "סמן טקסט כלינק\nלינק" |
| 32795 | הו&ספה | "&טבלה" | — | — | "הוסף טבלה\nטבלה" |
| 57648 | &חלון | "&חלון חדש" | — | — | "פתח חלון חדש למסמך הפעיל\nחלון חדש" |
| 57650 | &חלון | "&מדורג" | — | — | "סדר את החלונות בצורה מודרגת\nדרג" |
| 57651 | &חלון | "&פרוש" | — | — | "פרישת החלונות\nפרוש" |
| 57649 | &חלון | "&סדר" | — | — | "סדר צלמיות בתחתית החלון\nסדר" |
| 32800 | ע&זרה | "קובץ ה&עזרה" | — | 22 | "מציג את קובץ העזרה של התוכנה" |
| 32801 | ע&זרה | "&דף הבית של התוכנה" | — | — | "פותח את דף הבית של התוכנה" |
| 57664 | ע&זרה | "&אודות MIRVAL..." | — | — | "הצג מידע אודות היישום\nאודות" |
| 32802 | — | — | Ctrl+L | — | — |
| 32784 | — | — | — | 18 | "יישר טקסט לשמאל\nיישר לשמאל" |
| 32785 | — | — | — | 19 | "יישר טקסט למרכז\nיישר למרכז" |
| 32786 | — | — | — | 20 | "יישר טקסט לימין\nיישר לימין" |
| 32798 | — | — | — | — | "                     " (21 blanks) |
| 57606 | menu 6 only | "ה&גדרת הדפסה..." | — | — | "שינוי מדפסת ואשרויות הדפסה\nהגדרת הדפסה" |
| 57609 | menu 6 only | "הצג &לפני הדפסה" | — | — | "הצגת המסמך כפי שיודפס\nהצג לפני הדפסה" |
| 57680 | — | — | F6 | — | "עבור לחלונית הבאה\nהחלונית הבאה" |
| 57681 | — | — | Shift+F6 | — | "חזור לחלונית הקודמת\nחלונית קודמת" |
| 32768 | — | — | Esc (table 6 only) | — | — |
)LIST";

const char kToolbarLine[] =
    "57600, 32774, 57601, 57603 | 32773 | 32807 | 57635, 57634, 57637, 32776 | 32771, 32772 | "
    "32779, 32780, 32781, 32803, 32794 | 32784, 32785, 32786 | 57607, 32800";

struct ListedCommand {
    int id = 0;
    QString menu;
    QString text;
    QString keys;
    int button = 0;
    QString prompt;
};

// "\t" and "\n" as the list writes them.
QString Unescape(QString text) {
    text.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
    text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    return text;
}

// A cell's quoted text, or empty for "—".
QString Quoted(const QString& cell) {
    const qsizetype first = cell.indexOf(QLatin1Char('"'));
    const qsizetype last = cell.lastIndexOf(QLatin1Char('"'));
    if (first < 0 || last <= first) {
        return QString();
    }
    return Unescape(cell.mid(first + 1, last - first - 1));
}

QString Plain(const QString& cell) {
    return cell == QStringLiteral("—") ? QString() : cell;
}

std::vector<ListedCommand> ListedCommands() {
    std::vector<ListedCommand> commands;
    for (const QString& row :
         QString::fromUtf8(kCommandList).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QStringList cells = row.mid(2, row.size() - 4).split(QStringLiteral(" | "));
        EXPECT_EQ(cells.size(), 6) << row.toStdString();
        if (cells.size() != 6) {
            continue;
        }
        ListedCommand command;
        command.id = cells[0].toInt();
        command.menu = Plain(cells[1]);
        command.text = Quoted(cells[2]);
        command.keys = Plain(cells[3]);
        command.button = Plain(cells[4]).toInt();
        command.prompt = Quoted(cells[5]);
        commands.push_back(command);
    }
    return commands;
}

QString KeysText(const QList<QKeySequence>& keys) {
    QStringList texts;
    for (const QKeySequence& key : keys) {
        texts.append(key.toString(QKeySequence::PortableText));
    }
    return texts.join(QStringLiteral(", "));
}

TEST(CommandTableTest, HoldsEveryListedCommandExactly) {
    const std::vector<ListedCommand> listed = ListedCommands();
    ASSERT_EQ(listed.size(), 59u);
    for (const ListedCommand& command : listed) {
        SCOPED_TRACE(command.id);
        const CommandInfo* info = FindCommand(command.id);
        if (command.id == 32768) {
            // Cancelling in-place editing has no meaning without embedded objects.
            EXPECT_EQ(info, nullptr);
            continue;
        }
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->MenuText(), command.text);
        EXPECT_EQ(info->toolbarPlace, command.button);
        EXPECT_EQ(info->Prompt(), command.prompt);
        // Print setup and print preview come from the in-place menu into the
        // editor's file menu.
        const QString menu =
            command.menu == QStringLiteral("menu 6 only") ? QStringLiteral("&קובץ") : command.menu;
        EXPECT_EQ(info->MenuPath().join(QStringLiteral(" > ")), menu);
        QString keys = command.keys;
        keys.replace(QStringLiteral("Insert"), QStringLiteral("Ins"));
        keys.replace(QStringLiteral("Delete"), QStringLiteral("Del"));
        EXPECT_EQ(KeysText(info->Keys()), keys);
    }
    EXPECT_EQ(CommandTable().size(), listed.size() - 1);
}

TEST(CommandTableTest, KeysAreRealKeyCombinations) {
    EXPECT_EQ(FindCommand(57643)->Keys(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z),
                                   QKeySequence(Qt::ALT | Qt::Key_Backspace)}));
    EXPECT_EQ(FindCommand(57635)->Keys(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_X),
                                   QKeySequence(Qt::SHIFT | Qt::Key_Delete)}));
    EXPECT_EQ(FindCommand(57634)->Keys()[1], QKeySequence(Qt::CTRL | Qt::Key_Insert));
    EXPECT_EQ(FindCommand(57637)->Keys()[1], QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    EXPECT_EQ(FindCommand(57681)->Keys(),
              QList<QKeySequence>{QKeySequence(Qt::SHIFT | Qt::Key_F6)});
    // The link item shows Ctrl+L, but the key belongs to command 32802.
    EXPECT_TRUE(FindCommand(32794)->Keys().isEmpty());
    EXPECT_EQ(FindCommand(32802)->Keys(), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_L)});

    // No key is given to two commands.
    QSet<QKeySequence> seen;
    for (const CommandInfo& info : CommandTable()) {
        for (const QKeySequence& key : info.Keys()) {
            EXPECT_FALSE(key.isEmpty()) << info.id;
            EXPECT_FALSE(seen.contains(key)) << key.toString().toStdString();
            seen.insert(key);
        }
    }
}

TEST(CommandTableTest, PromptSplitsIntoStatusTextAndToolTip) {
    EXPECT_EQ(FindCommand(57600)->StatusText(), QStringLiteral("יצירת מסמך חדש"));
    EXPECT_EQ(FindCommand(57600)->ToolTip(), QStringLiteral("חדש"));
    // A prompt without "\n" has no tooltip.
    EXPECT_EQ(FindCommand(32800)->StatusText(), QStringLiteral("מציג את קובץ העזרה של התוכנה"));
    EXPECT_TRUE(FindCommand(32800)->ToolTip().isEmpty());
    EXPECT_EQ(FindCommand(32798)->Prompt(), QString(21, QLatin1Char(' ')));
}

TEST(CommandTableTest, ToolbarFollowsTheListedOrder) {
    std::vector<int> expected;
    for (const QString& group : QString::fromLatin1(kToolbarLine).split(QStringLiteral(" | "))) {
        if (!expected.empty()) {
            expected.push_back(0);
        }
        for (const QString& id : group.split(QStringLiteral(", "))) {
            expected.push_back(id.toInt());
        }
    }
    const std::span<const int> buttons = ToolbarButtons();
    EXPECT_EQ(std::vector<int>(buttons.begin(), buttons.end()), expected);

    // Each command's place is its position among the buttons.
    int place = 0;
    for (int id : buttons) {
        if (id != 0) {
            ++place;
            EXPECT_EQ(FindCommand(id)->toolbarPlace, place) << id;
        }
    }
    EXPECT_EQ(place, 22);
}

// A menu written as "Title[id id - Sub[id] id]", "-" for a separator.
QString Shape(const std::vector<MenuEntry>& entries) {
    QStringList parts;
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
            case MenuEntry::Kind::Separator:
                parts.append(QStringLiteral("-"));
                break;
            case MenuEntry::Kind::Command:
                parts.append(QString::number(entry.id));
                break;
            case MenuEntry::Kind::Popup:
                parts.append(entry.text + QLatin1Char('[') + Shape(entry.entries) +
                             QLatin1Char(']'));
                break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

// Every command item of a menu with its text, by id.
void CollectTexts(const std::vector<MenuEntry>& entries, std::map<int, QString>& texts) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::Command) {
            texts[entry.id] = entry.text;
        } else if (entry.kind == MenuEntry::Kind::Popup) {
            CollectTexts(entry.entries, texts);
        }
    }
}

TEST(CommandTableTest, MenuBarWithoutDocument) {
    const std::vector<MenuEntry> menu = MenuResource(kMainMenu);
    EXPECT_EQ(Shape(menu), QStringLiteral("&קובץ[57600 57601 - 57616 - 57665] &תצוגה[59392 59393] "
                                          "ע&זרה[32800 32801 - 57664]"));
    std::map<int, QString> texts;
    CollectTexts(menu, texts);
    EXPECT_EQ(texts[57600], QStringLiteral("&חדש\tCtrl+N"));
    EXPECT_EQ(texts[57601], QStringLiteral("&פתח...\tCtrl+O"));
    EXPECT_EQ(texts[57616], QStringLiteral("קובץ אחרון"));
    EXPECT_EQ(texts[57665], QStringLiteral("י&ציאה"));
    EXPECT_EQ(texts[59392], QStringLiteral("&סרגל כלים"));
    EXPECT_EQ(texts[59393], QStringLiteral("&שורת מצב"));
    EXPECT_EQ(texts[32800], QStringLiteral("קובץ ה&עזרה"));
    EXPECT_EQ(texts[32801], QStringLiteral("&דף הבית של התוכנה"));
    EXPECT_EQ(texts[57664], QStringLiteral("&אודות MIRVAL..."));
}

TEST(CommandTableTest, EditorMenuBarHoldsEveryMenuCommandWhereTheListPutsIt) {
    const std::vector<MenuEntry> menu = MenuResource(kEditorMenu);
    EXPECT_EQ(Shape(menu),
              QStringLiteral(
                  "&קובץ[&חדש[57600 32774] 57601 57602 57603 57604 32809 - 32773 32796 - 57607 "
                  "57609 57606 - 57616 - 57665] "
                  "&עריכה[57643 32792 - 57635 57634 57637 32776 32791 32790 57642 - 57636 57641 - "
                  "32797] "
                  "&תצוגה[59392 59393 - 32799 - 32806 32807] "
                  "&המרה...[32771 32772 32787 32788 32789 32804] "
                  "&עיצוב[32779 32781 32780 32803] "
                  "הו&ספה[32793 32794 32795] "
                  "&חלון[57648 57650 57651 57649] "
                  "ע&זרה[32800 32801 - 57664]"));

    // Every command with a menu text is an item of this menu, with that text,
    // under its own menu path.
    std::map<int, QString> texts;
    std::map<int, QString> paths;
    std::function<void(const std::vector<MenuEntry>&, const QString&)> walk =
        [&](const std::vector<MenuEntry>& entries, const QString& path) {
            for (const MenuEntry& entry : entries) {
                if (entry.kind == MenuEntry::Kind::Command) {
                    texts[entry.id] = entry.text;
                    paths[entry.id] = path;
                } else if (entry.kind == MenuEntry::Kind::Popup) {
                    walk(entry.entries,
                         path.isEmpty() ? entry.text : path + QStringLiteral(" > ") + entry.text);
                }
            }
        };
    walk(menu, QString());
    for (const CommandInfo& info : CommandTable()) {
        if (info.MenuText().isEmpty()) {
            EXPECT_EQ(texts.count(info.id), 0u) << info.id;
            continue;
        }
        EXPECT_EQ(texts[info.id], info.MenuText()) << info.id;
        EXPECT_EQ(paths[info.id], info.MenuPath().join(QStringLiteral(" > "))) << info.id;
    }
}

TEST(CommandTableTest, PreviewMenuBar) {
    const std::vector<MenuEntry> menu = MenuResource(kPreviewMenu);
    EXPECT_EQ(Shape(menu),
              QStringLiteral("&קובץ[57600 57601 57602 57603 57604 - 57607 - 57616 - 57665] "
                             "&תצוגה[59392 59393] &חלון[57648 57650 57651 57649] "
                             "ע&זרה[32800 32801 - 57664]"));
    std::map<int, QString> texts;
    CollectTexts(menu, texts);
    // New and open as the menu without a document words them.
    EXPECT_EQ(texts[57600], QStringLiteral("&חדש\tCtrl+N"));
    EXPECT_EQ(texts[57602], QStringLiteral("&סגור"));
    EXPECT_EQ(texts[57604], QStringLiteral("שמור &בשם..."));
    EXPECT_TRUE(MenuResource(6).empty());
}

}  // namespace
