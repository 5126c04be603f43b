// The command table and what it builds: the menu bars, the toolbar and the
// keys. The table is the one list of commands; these tests hold it to the
// rules that keep what it builds consistent, and pin the menus and the
// toolbar as the user sees them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSet>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>

#include "app/childframe.h"
#include "app/commandicons.h"
#include "app/commandtable.h"
#include "appfixture.h"

namespace {

using namespace CommandId;

// A menu as a line of tokens: "Title[" opens a popup, "]" closes it, "-" is a
// separator, and a command item is its id.
struct Token {
    Token(int id) : text(QString::number(id)) {}
    Token(const char* word) : text(QString::fromUtf8(word)) {}
    QString text;
};

std::string Tokens(std::initializer_list<Token> tokens) {
    QStringList texts;
    for (const Token& token : tokens) {
        texts.append(token.text);
    }
    return texts.join(QLatin1Char(' ')).toStdString();
}

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
                parts.append(entry.text + QLatin1Char('['));
                if (!entry.entries.empty()) {
                    parts.append(Shape(entry.entries));
                }
                parts.append(QStringLiteral("]"));
                break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

// Every command item of a menu bar with its text and its popup path, by id.
struct Item {
    QString text;
    QStringList path;
};
void CollectItems(const std::vector<MenuEntry>& entries, const QStringList& path,
                  std::map<int, Item>& items) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::Command) {
            items[entry.id] = Item{entry.text, path};
        } else if (entry.kind == MenuEntry::Kind::Popup) {
            CollectItems(entry.entries, path + QStringList{entry.text}, items);
        }
    }
}
std::map<int, Item> Items(int bar) {
    std::map<int, Item> items;
    CollectItems(MenuResource(bar), {}, items);
    return items;
}

// Calls check on every popup of a menu bar, nested ones too.
void ForEachPopup(const std::vector<MenuEntry>& entries,
                  const std::function<void(const MenuEntry&)>& check) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntry::Kind::Popup) {
            check(entry);
            ForEachPopup(entry.entries, check);
        }
    }
}

// The access key of a menu text: the letter after a single "&"; null when
// there is none.
QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (text[i + 1] != QLatin1Char('&')) {
                return text[i + 1].toLower();
            }
            ++i;
        }
    }
    return QChar();
}

const int kBars[] = {kMainMenu, kEditorMenu, kPreviewMenu};

unsigned BarBit(int bar) {
    return bar == kMainMenu ? kInMainMenu : bar == kEditorMenu ? kInEditorMenu : kInPreviewMenu;
}

TEST(CommandTableTest, EveryCommandHasOneRow) {
    std::set<int> ids;
    for (const CommandInfo& info : CommandTable()) {
        EXPECT_TRUE(ids.insert(info.id).second) << info.id;
        EXPECT_EQ(FindCommand(info.id), &info);
        // A row that places an item in some bar names its popup and has a text.
        for (const MenuPlace& place : {info.menu, info.otherMenu}) {
            if (place.bars != 0) {
                EXPECT_NE(place.popup, nullptr) << info.id;
                EXPECT_FALSE(info.MenuText().isEmpty()) << info.id;
            }
        }
        EXPECT_EQ(info.menu.bars & info.otherMenu.bars, 0u) << info.id;
    }
    EXPECT_EQ(FindCommand(0), nullptr);
}

TEST(CommandTableTest, EveryMenuItemIsWhereItsRowPlacesIt) {
    for (int bar : kBars) {
        SCOPED_TRACE(bar);
        const std::map<int, Item> items = Items(bar);
        // Each row's places in this bar are items with the row's text...
        size_t placed = 0;
        for (const CommandInfo& info : CommandTable()) {
            for (const MenuPlace& place : {info.menu, info.otherMenu}) {
                if ((place.bars & BarBit(bar)) == 0) {
                    continue;
                }
                ++placed;
                const auto found = items.find(info.id);
                ASSERT_NE(found, items.end()) << info.id;
                EXPECT_EQ(found->second.text,
                          place.text != nullptr ? QCoreApplication::translate("Command", place.text)
                                                : info.MenuText())
                    << info.id;
                QStringList path{QCoreApplication::translate("Command", place.popup)};
                if (place.subPopup != nullptr) {
                    path.append(QCoreApplication::translate("Command", place.subPopup));
                }
                EXPECT_EQ(found->second.path, path) << info.id;
            }
        }
        // ...and there are no other items.
        EXPECT_EQ(items.size(), placed);
    }
    EXPECT_TRUE(MenuResource(6).empty());
}

TEST(CommandTableTest, PopupsHaveUniqueItemsAndAccessKeysAndTidySeparators) {
    for (int bar : kBars) {
        SCOPED_TRACE(bar);
        ForEachPopup(MenuResource(bar), [](const MenuEntry& popup) {
            SCOPED_TRACE(popup.text.toStdString());
            ASSERT_FALSE(popup.entries.empty());
            EXPECT_NE(popup.entries.front().kind, MenuEntry::Kind::Separator);
            EXPECT_NE(popup.entries.back().kind, MenuEntry::Kind::Separator);
            std::set<int> ids;
            QSet<QChar> mnemonics;
            std::set<int> closedGroups;
            int group = popup.entries.front().group;
            for (size_t i = 0; i < popup.entries.size(); ++i) {
                const MenuEntry& entry = popup.entries[i];
                if (entry.kind == MenuEntry::Kind::Separator) {
                    EXPECT_NE(popup.entries[i - 1].kind, MenuEntry::Kind::Separator);
                    continue;
                }
                if (entry.kind == MenuEntry::Kind::Command) {
                    EXPECT_TRUE(ids.insert(entry.id).second) << entry.id;
                }
                const QChar mnemonic = Mnemonic(entry.text);
                if (!mnemonic.isNull()) {
                    EXPECT_FALSE(mnemonics.contains(mnemonic)) << entry.text.toStdString();
                    mnemonics.insert(mnemonic);
                }
                // A group stands together: a separator never splits one, and
                // no group comes back after another.
                if (entry.group != group) {
                    EXPECT_EQ(popup.entries[i - 1].kind, MenuEntry::Kind::Separator);
                    closedGroups.insert(group);
                    group = entry.group;
                }
                EXPECT_EQ(closedGroups.count(entry.group), 0u) << entry.text.toStdString();
            }
        });
    }
}

TEST(CommandTableTest, KeyShownInAMenuRunsACommand) {
    for (int bar : kBars) {
        for (const auto& [id, item] : Items(bar)) {
            const QString shown = item.text.section(QLatin1Char('\t'), 1);
            if (shown.isEmpty()) {
                continue;
            }
            const QList<QKeySequence> keys = KeysFromText(shown);
            ASSERT_EQ(keys.size(), 1) << id;
            EXPECT_TRUE(IsCommandKey(keys.first())) << id;
            // The item shows its own first key where it has one.
            const QList<QKeySequence> own = FindCommand(id)->Keys();
            if (!own.isEmpty()) {
                EXPECT_EQ(own.first(), keys.first()) << id;
            }
        }
    }
}

TEST(CommandTableTest, KeysAreRealKeyCombinations) {
    EXPECT_EQ(FindCommand(EditUndo)->Keys(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z),
                                   QKeySequence(Qt::ALT | Qt::Key_Backspace)}));
    EXPECT_EQ(FindCommand(EditCut)->Keys(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_X),
                                   QKeySequence(Qt::SHIFT | Qt::Key_Delete)}));
    EXPECT_EQ(FindCommand(EditCopy)->Keys()[1], QKeySequence(Qt::CTRL | Qt::Key_Insert));
    EXPECT_EQ(FindCommand(EditPaste)->Keys()[1], QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    EXPECT_EQ(FindCommand(PrevPane)->Keys(),
              QList<QKeySequence>{QKeySequence(Qt::SHIFT | Qt::Key_F6)});
    // The link item shows Ctrl+L, but the key belongs to LinkKey.
    EXPECT_TRUE(FindCommand(Link)->Keys().isEmpty());
    EXPECT_EQ(FindCommand(LinkKey)->Keys(),
              QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_L)});

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
    EXPECT_EQ(FindCommand(FileNew)->StatusText(), QStringLiteral("יצירת מסמך חדש"));
    EXPECT_EQ(FindCommand(FileNew)->ToolTip(), QStringLiteral("חדש"));
    // A prompt without "\n" has no tooltip.
    EXPECT_EQ(FindCommand(HelpFile)->StatusText(), QStringLiteral("מציג את קובץ העזרה של התוכנה"));
    EXPECT_TRUE(FindCommand(HelpFile)->ToolTip().isEmpty());
    EXPECT_EQ(FindCommand(LineIndicator)->Prompt(), QString(21, QLatin1Char(' ')));
}

TEST(CommandTableTest, ToolbarFollowsTheListedOrder) {
    const std::span<const int> buttons = ToolbarButtons();
    // clang-format off
    EXPECT_EQ(std::vector<int>(buttons.begin(), buttons.end()), (std::vector<int>{
        FileNew, FileNewFromTemplate, FileOpen, FileSave, 0,
        Browse, 0,
        RefreshSyntax, 0,
        EditCut, EditCopy, EditPaste, PasteVisual, 0,
        ConvertToVisual, ConvertToLogical, 0,
        Bold, Italic, Underline, FontTag, Link, 0,
        AlignLeft, AlignCenter, AlignRight, 0,
        FilePrint, HelpFile}));
    // clang-format on

    // Each command's place is its position among the buttons, and every
    // button has an image.
    int place = 0;
    for (int id : buttons) {
        if (id != 0) {
            ++place;
            EXPECT_EQ(FindCommand(id)->toolbar.place, place) << id;
            EXPECT_FALSE(CommandIcons::ForCommand(id).isNull()) << id;
        }
    }
    EXPECT_EQ(place, 22);
    size_t placed = 0;
    for (const CommandInfo& info : CommandTable()) {
        placed += info.toolbar.place != 0 ? 1 : 0;
        // Every button names an icon; every named icon is found, and drawn
        // whole at the sizes of scale factors 1, 1.5 and 2.
        EXPECT_TRUE(info.toolbar.place == 0 || info.icon != nullptr) << info.id;
        const QIcon icon = CommandIcons::ForCommand(info.id);
        EXPECT_EQ(icon.isNull(), info.icon == nullptr) << info.id;
        for (const int size : {16, 24, 32}) {
            if (info.icon != nullptr) {
                EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size))
                    << info.id << " " << size;
            }
        }
    }
    EXPECT_EQ(placed, 22u);
}

TEST(CommandTableTest, MenuBarWithoutDocument) {
    const std::vector<MenuEntry> menu = MenuResource(kMainMenu);
    // clang-format off
    EXPECT_EQ(Shape(menu).toStdString(), Tokens({
        "&קובץ[", FileNew, FileOpen, "-", FileMruFirst, "-", AppExit, "]",
        "&תצוגה[", ViewToolbar, ViewStatusBar, "]",
        "ע&זרה[", HelpFile, HomePage, "-", AppAbout, "]"}));
    // clang-format on
    const std::map<int, Item> texts = Items(kMainMenu);
    EXPECT_EQ(texts.at(FileNew).text, QStringLiteral("&חדש\tCtrl+N"));
    EXPECT_EQ(texts.at(FileOpen).text, QStringLiteral("&פתח...\tCtrl+O"));
    EXPECT_EQ(texts.at(FileMruFirst).text, QStringLiteral("קובץ אחרון"));
    EXPECT_EQ(texts.at(AppExit).text, QStringLiteral("י&ציאה"));
    EXPECT_EQ(texts.at(ViewToolbar).text, QStringLiteral("&סרגל כלים"));
    EXPECT_EQ(texts.at(ViewStatusBar).text, QStringLiteral("&שורת מצב"));
    EXPECT_EQ(texts.at(HelpFile).text, QStringLiteral("קובץ ה&עזרה"));
    EXPECT_EQ(texts.at(HomePage).text, QStringLiteral("&דף הבית של התוכנה"));
    EXPECT_EQ(texts.at(AppAbout).text, QStringLiteral("&אודות MIRVAL..."));
}

TEST(CommandTableTest, EditorMenuBarHoldsEveryMenuCommandWhereTheListPutsIt) {
    const std::vector<MenuEntry> menu = MenuResource(kEditorMenu);
    // clang-format off
    EXPECT_EQ(Shape(menu).toStdString(), Tokens({
        "&קובץ[", "&חדש[", FileNew, FileNewFromTemplate, "]", FileOpen, FileClose, FileSave,
            FileSaveAs, FileSaveAsTemplate, "&קידוד[", EncodingCp1255, EncodingUtf8, "]", "-",
            Browse, Options, "-", FilePrint,
            FilePrintPreview, FilePrintSetup, "-", FileMruFirst, "-", AppExit, "]",
        "&עריכה[", EditUndo, UndoConvert, "-", EditCut, EditCopy, EditPaste, PasteVisual,
            PasteVisualCopy, PasteTable, EditSelectAll, "-", EditFind, EditReplace, "-",
            GoToLine, "]",
        "&תצוגה[", ViewToolbar, ViewStatusBar, "-", DosDisplay, "-", ShowSyntax, RefreshSyntax,
            "]",
        "&המרה...[", ConvertToVisual, ConvertToLogical, ConvertDos, ConvertSemiLogical,
            ConvertToModern, SpecialChars, LowerTags, "]",
        "&עיצוב[", Bold, Underline, Italic, FontTag, "]",
        "הו&ספה[", InsertImage, Link, InsertTable, "]",
        "&חלון[", WindowNew, WindowCascade, WindowTile, WindowArrange, "]",
        "ע&זרה[", HelpFile, HomePage, "-", AppAbout, "]"}));
    // clang-format on

    // Every command with a menu text is an item of this menu, with that text.
    const std::map<int, Item> items = Items(kEditorMenu);
    for (const CommandInfo& info : CommandTable()) {
        if (info.MenuText().isEmpty()) {
            EXPECT_EQ(items.count(info.id), 0u) << info.id;
            continue;
        }
        ASSERT_EQ(items.count(info.id), 1u) << info.id;
        EXPECT_EQ(items.at(info.id).text, info.MenuText()) << info.id;
    }
    EXPECT_EQ(items.at(FileNew).text, QStringLiteral("&מסמך חדש\tCtrl+N"));
}

TEST(CommandTableTest, PreviewMenuBar) {
    const std::vector<MenuEntry> menu = MenuResource(kPreviewMenu);
    // clang-format off
    EXPECT_EQ(Shape(menu).toStdString(), Tokens({
        "&קובץ[", FileNew, FileOpen, FileClose, FileSave, FileSaveAs, "-", FilePrint, "-",
            FileMruFirst, "-", AppExit, "]",
        "&תצוגה[", ViewToolbar, ViewStatusBar, "]",
        "&חלון[", WindowNew, WindowCascade, WindowTile, WindowArrange, "]",
        "ע&זרה[", HelpFile, HomePage, "-", AppAbout, "]"}));
    // clang-format on
    const std::map<int, Item> texts = Items(kPreviewMenu);
    // New and open as the menu without a document words them.
    EXPECT_EQ(texts.at(FileNew).text, QStringLiteral("&חדש\tCtrl+N"));
    EXPECT_EQ(texts.at(FileClose).text, QStringLiteral("&סגור"));
    EXPECT_EQ(texts.at(FileSaveAs).text, QStringLiteral("שמור &בשם..."));
}

// Every command that a menu bar, a key or a button offers reaches a handler or
// an update handler along the route of the window that shows it.
class CommandRoutingTest : public AppTest {
protected:
    // The targets a command passes, as the main frame routes it.
    std::vector<CCmdTarget*> Targets() {
        std::vector<CCmdTarget*> targets;
        if (CChildFrame* frame = Frame()->MDIGetActive()) {
            if (CView* view = frame->GetView()) {
                targets.push_back(view);
                if (CDocument* document = view->GetDocument()) {
                    targets.push_back(document);
                }
            }
            targets.push_back(frame);
        }
        targets.push_back(Frame());
        targets.push_back(app.get());
        return targets;
    }
    bool Reaches(int id) {
        for (CCmdTarget* target : Targets()) {
            CCmdUI ui(id);
            if (target->OnUpdateCmdMsg(ui)) {
                return true;
            }
        }
        return false;
    }
    // The rows offered while the bar is shown: its menu items; in an editor
    // window every row, since the keys, the buttons and the status bar's
    // panes are there too.
    void ExpectEveryOfferedCommandReached(int bar) {
        SCOPED_TRACE(bar);
        ASSERT_EQ(Frame()->CurrentMenu(), bar);
        for (const CommandInfo& info : CommandTable()) {
            const bool inMenu = ((info.menu.bars | info.otherMenu.bars) & BarBit(bar)) != 0;
            if (inMenu || bar == kEditorMenu) {
                EXPECT_TRUE(Reaches(info.id)) << info.id;
            }
        }
    }
};

TEST_F(CommandRoutingTest, EveryRowReachesItsHandler) {
    ASSERT_TRUE(app->InitInstance());
    Settle();
    ExpectEveryOfferedCommandReached(kEditorMenu);

    app->BrowseAddress(QStringLiteral("http://example.org/"), QStringLiteral("Home"));
    Settle();
    ExpectEveryOfferedCommandReached(kPreviewMenu);

    app->CloseAllDocuments();
    Settle();
    ExpectEveryOfferedCommandReached(kMainMenu);
}

}  // namespace
