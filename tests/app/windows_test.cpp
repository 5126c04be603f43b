// The document windows in the main window: where new windows open, cascade
// and tile, the window list of the window menu, the main title; and the
// Hebrew of the dialogs Qt draws, the print preview and the about box.
#include <QAbstractFileIconProvider>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegion>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

#include "app/aboutdialog.h"
#include "app/childframe.h"
#include "app/commandtable.h"
#include "app/qttranslations.h"
#include "appfixture.h"
#include "framework/commandids.h"

namespace {

// The texts a dialog shows in English only: titles, labels, buttons, group
// titles and tips with a Latin letter and no Hebrew one. (Lists of names,
// such as paper sizes and fonts, are left out.)
QStringList EnglishOnlyTexts(QWidget* dialog) {
    const auto englishOnly = [](const QString& text) {
        const auto latin = [](QChar c) { return c.isLetter() && c.unicode() < 0x80; };
        const auto hebrew = [](QChar c) { return c.unicode() >= 0x5D0 && c.unicode() <= 0x5EA; };
        return std::any_of(text.begin(), text.end(), latin) &&
               std::none_of(text.begin(), text.end(), hebrew);
    };
    QStringList texts{dialog->windowTitle()};
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        texts.append(widget->toolTip());
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            texts.append(label->text());
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            texts.append(button->text());
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            texts.append(group->title());
        }
    }
    texts.removeIf([&](const QString& text) { return !englishOnly(text); });
    return texts;
}

class WindowsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(app->InitInstance());
    }
    // Opens editor windows until there are count.
    void OpenWindows(int count) {
        while (Frame()->ChildFrames().size() < count) {
            ASSERT_TRUE(Route(CommandId::FileNew));
        }
    }
    QRect Workspace() const { return Frame()->Workspace(); }
    // A window's place measured from the workspace's top right corner.
    QPoint FromCorner(const QWidget* frame) const {
        return QPoint(Workspace().right() - frame->geometry().right(), frame->y());
    }
    // Inside the workspace and at least two thirds of it each way.
    void ExpectUseful(const QWidget* frame) const {
        const QRect workspace = Workspace();
        EXPECT_TRUE(workspace.contains(frame->geometry()))
            << frame->windowTitle().toStdString() << " at " << frame->x() << "," << frame->y();
        EXPECT_GE(frame->width() * 3, workspace.width() * 2);
        EXPECT_GE(frame->height() * 3, workspace.height() * 2);
    }
    // The menu shown now whose items include the window commands.
    QMenu* WindowMenu() const {
        for (QMenu* popup : Frame()->MenuPopups(Frame()->CurrentMenu())) {
            if (popup->actions().contains(Frame()->CommandAction(CommandId::WindowArrange))) {
                return popup;
            }
        }
        return nullptr;
    }
    // The items below the window commands, as the menu opens.
    QList<QAction*> WindowList() const {
        QMenu* menu = WindowMenu();
        emit menu->aboutToShow();
        QList<QAction*> items = menu->actions();
        items.remove(0, items.indexOf(Frame()->CommandAction(CommandId::WindowArrange)) + 1);
        return items;
    }
};

TEST_F(WindowsTest, NewWindowsOpenInsideOneStepApartAndWrapToTheCorner) {
    // The first window opened before the main window was first shown.
    OpenWindows(16);
    const QList<CChildFrame*> frames = Frame()->ChildFrames();
    EXPECT_EQ(FromCorner(frames[0]), QPoint(0, 0));
    const QPoint step = FromCorner(frames[1]) - FromCorner(frames[0]);
    EXPECT_EQ(step.x(), step.y());
    // Every title bar of a staircase shows.
    EXPECT_GE(step.y(), frames[0]->widget()->y());
    int wraps = 0;
    for (qsizetype i = 1; i < 16; ++i) {
        ExpectUseful(frames[i]);
        const QPoint next = FromCorner(frames[i - 1]) + step;
        const bool fits = Workspace().contains(
            QRect(QPoint(Workspace().right() - next.x() - frames[i]->width() + 1, next.y()),
                  frames[i]->size()));
        EXPECT_EQ(FromCorner(frames[i]), fits ? next : QPoint(0, 0)) << "window " << i + 1;
        wraps += fits ? 0 : 1;
    }
    EXPECT_GE(wraps, 1);

    // After tiling, a preview as well.
    ASSERT_TRUE(Route(CommandId::WindowTile));
    app->BrowseAddress(QStringLiteral("http://example.org/"), QStringLiteral("page.htm"));
    Settle();
    ASSERT_EQ(Frame()->ChildFrames().size(), 17);
    ExpectUseful(Frame()->ChildFrames().last());
}

TEST_F(WindowsTest, CascadeKeepsTwoThirdsAndEveryTitleInSightAlsoFromAMaximisedWindow) {
    for (int count : {3, 14}) {
        OpenWindows(count);
        CChildFrame* active = Frame()->MDIGetActive();
        active->showMaximized();
        Settle();
        ASSERT_TRUE(Route(CommandId::WindowCascade));
        EXPECT_EQ(Frame()->MDIGetActive(), active);

        const QList<QMdiSubWindow*> stack =
            Frame()->MdiArea()->subWindowList(QMdiArea::StackingOrder);
        ASSERT_EQ(stack.size(), count);
        EXPECT_EQ(stack.last(), active);
        for (qsizetype i = 0; i < stack.size(); ++i) {
            EXPECT_FALSE(stack[i]->isMaximized());
            ExpectUseful(stack[i]);
            // The leading end of the title bar (icon and the title's start,
            // on the right) is covered by no window in front of it.
            const QRect title(stack[i]->x(), stack[i]->y(), stack[i]->width(),
                              stack[i]->widget()->y());
            QRegion shown(title);
            for (qsizetype above = i + 1; above < stack.size(); ++above) {
                shown -= stack[above]->geometry();
            }
            EXPECT_TRUE(shown.contains(QPoint(title.right() - 10, title.center().y())))
                << count << " windows, window " << i;
        }
    }
}

TEST_F(WindowsTest, TileSharesOutTheWorkspaceAlsoFromAMaximisedWindow) {
    OpenWindows(5);
    CChildFrame* active = Frame()->ChildFrames()[2];
    Frame()->MdiArea()->setActiveSubWindow(active);
    active->showMaximized();
    Settle();
    ASSERT_TRUE(Route(CommandId::WindowTile));

    const QList<CChildFrame*> frames = Frame()->ChildFrames();
    QRegion covered;
    int area = 0;
    for (CChildFrame* frame : frames) {
        EXPECT_FALSE(frame->isMaximized());
        EXPECT_TRUE(Workspace().contains(frame->geometry()));
        EXPECT_FALSE(covered.intersects(frame->geometry()));
        covered += frame->geometry();
        area += frame->width() * frame->height();
    }
    EXPECT_EQ(area, Workspace().width() * Workspace().height());
    // Two columns, of two and three windows; the active one in the top right.
    EXPECT_EQ(FromCorner(active), QPoint(0, 0));
    EXPECT_EQ(active->height(), Workspace().height() / 2);
    EXPECT_EQ(Frame()->MDIGetActive(), active);
}

TEST_F(WindowsTest, WindowMenuListsTheWindowsAndActivatesTheChosenOne) {
    OpenWindows(3);
    QList<CChildFrame*> frames = Frame()->ChildFrames();
    frames[0]->showMinimized();
    Frame()->MdiArea()->setActiveSubWindow(frames[2]);
    QList<QAction*> items = WindowList();
    ASSERT_EQ(items.size(), 4);
    EXPECT_TRUE(items[0]->isSeparator());
    QStringList texts;
    for (qsizetype i = 1; i < items.size(); ++i) {
        texts.append(items[i]->text());
        EXPECT_EQ(items[i]->isChecked(), i == 3);
    }
    EXPECT_EQ(texts, QStringList({QString::fromUtf8("&1 \u2068MIRVAL1\u2069"),
                                  QString::fromUtf8("&2 \u2068MIRVAL2\u2069"),
                                  QString::fromUtf8("&3 \u2068MIRVAL3\u2069")}));
    // Choosing a minimised window restores it; the list follows.
    items[1]->trigger();
    Settle();
    EXPECT_EQ(Frame()->MDIGetActive(), frames[0]);
    EXPECT_FALSE(frames[0]->isMinimized());
    items = WindowList();
    ASSERT_EQ(items.size(), 4);
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_FALSE(items[3]->isChecked());

    // Past nine: the active window takes the ninth number, the rest are in
    // a list that the last item opens.
    OpenWindows(12);
    frames = Frame()->ChildFrames();
    items = WindowList();
    ASSERT_EQ(items.size(), 11);
    EXPECT_EQ(items[9]->text(), QString::fromUtf8("&9 \u2068MIRVAL12\u2069"));
    EXPECT_TRUE(items[9]->isChecked());
    EXPECT_EQ(items[10]->text(), QStringLiteral("חלונות &נוספים..."));
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        auto* list = QApplication::activeModalWidget()->findChild<QListWidget*>();
        for (int row = 0; row < list->count(); ++row) {
            shown.append(list->item(row)->text());
        }
        shown.append(list->currentItem()->text());
        list->setCurrentRow(9);
        QApplication::activeModalWidget()->findChild<QDialogButtonBox*>()->accepted();
    });
    items[10]->trigger();
    Settle();
    ASSERT_EQ(shown.size(), 13);
    EXPECT_EQ(shown[9], QString::fromUtf8("\u2068MIRVAL10\u2069"));
    EXPECT_EQ(shown.last(), QString::fromUtf8("\u2068MIRVAL12\u2069"));
    EXPECT_EQ(Frame()->MDIGetActive(), frames[9]);
}

TEST_F(WindowsTest, MainTitleNamesTheDocumentOnce) {
    app->BrowseAddress(QStringLiteral("http://example.org/"), QStringLiteral("page.htm"));
    Settle();
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("MIRVAL - Browsing: page.htm"));
    Frame()->MDIGetActive()->showMaximized();
    Settle();
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("MIRVAL - [Browsing: page.htm]"));
    // Another window while maximised (it opens maximised too), and back.
    ASSERT_TRUE(Route(CommandId::FileNew));
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("MIRVAL - [MIRVAL2]"));
    Frame()->MDIGetActive()->showNormal();
    Settle();
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("MIRVAL - MIRVAL2"));
}

TEST_F(WindowsTest, QtDialogsAndThePrintPreviewSpeakHebrew) {
    QTranslator* translator = InstallQtTranslations(qApp);
    ASSERT_NE(translator, nullptr) << "qtbase_he.qm (qt6-translations-l10n) is not installed";
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("ביטול"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("אישור"));
    EXPECT_EQ(QAbstractFileIconProvider().type(QFileInfo(QDir::tempPath())),
              QStringLiteral("תיקייה"));
    {
        QPrinter printer;
        QFileDialog file;
        file.setOption(QFileDialog::DontUseNativeDialog);
        QFontDialog font;
        QColorDialog colour;
        colour.setOption(QColorDialog::DontUseNativeDialog);
        QPrintDialog print(&printer);
        QPageSetupDialog setup(&printer);
        QMessageBox message(QMessageBox::Question, QStringLiteral("כותרת"), QStringLiteral("שאלה"),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Save |
                                QMessageBox::Discard | QMessageBox::Cancel);
        for (QDialog* dialog :
             std::initializer_list<QDialog*>{&file, &font, &colour, &print, &setup, &message}) {
            dialog->show();
            EXPECT_EQ(EnglishOnlyTexts(dialog), QStringList()) << dialog->metaObject()->className();
            dialog->hide();
        }
    }

    QString title;
    QString close;
    QStringList english;
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (preview == nullptr) {
            return;
        }
        title = preview->windowTitle();
        english = EnglishOnlyTexts(preview);
        auto* action = preview->findChild<QAction*>(QStringLiteral("ClosePreview"));
        if (action == nullptr) {
            preview->reject();
            return;
        }
        auto* button =
            qobject_cast<QToolButton*>(preview->findChild<QToolBar*>()->widgetForAction(action));
        close = button->isVisible() && button->toolButtonStyle() == Qt::ToolButtonTextBesideIcon
                    ? button->text()
                    : QString();
        action->trigger();
    });
    ASSERT_TRUE(Route(CommandId::FilePrintPreview));
    EXPECT_EQ(title, QStringLiteral("הצגה לפני הדפסה - MIRVAL1"));
    EXPECT_EQ(close, QStringLiteral("סגור"));
    EXPECT_EQ(english, QStringList());
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

TEST_F(WindowsTest, AboutBoxIsLaidOutRightToLeft) {
    QApplication::setLayoutDirection(Qt::LeftToRight);
    CAboutDialog about;
    about.show();
    QApplication::setLayoutDirection(Qt::RightToLeft);
    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 5);
    const QLabel* icon = labels.first();
    ASSERT_FALSE(icon->pixmap().isNull());
    for (const QLabel* line : labels.mid(1)) {
        EXPECT_GT(icon->x(), line->geometry().right()) << line->text().toStdString();
        EXPECT_EQ(line->alignment() & (Qt::AlignRight | Qt::AlignAbsolute),
                  Qt::AlignRight | Qt::AlignAbsolute);
    }
}

}  // namespace
