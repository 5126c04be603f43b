// Find and replace in the editor view: Hebrew find strings as typed and
// reversed, other strings with match case, whole word and wrap-around.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "common/focuschain.h"
#include "common/hebrew.h"
#include "framework/commandids.h"
#include "view/findreplacedialog.h"
#include "view/viewfixture.h"

namespace {

const std::string kWord = Heb("שלום");
const std::string kDrow = Heb("םולש");  // the word as a visual page stores it

using FindTest = ViewFixture;

TEST_F(FindTest, HebrewWordFoundTypedOrReversedWithoutWrapping) {
    view.SetWindowText("<p>" + kDrow + " x " + kWord + "\r\n" + Heb("אבא"));
    bool typed = true;
    EXPECT_TRUE(view.FindHebrew(kWord, typed));
    EXPECT_FALSE(typed);
    EXPECT_EQ(Sel(), std::make_pair(3L, 7L));
    EXPECT_TRUE(view.FindHebrew(kWord, typed));
    EXPECT_TRUE(typed);
    EXPECT_EQ(Sel(), std::make_pair(10L, 14L));
    EXPECT_FALSE(view.FindHebrew(kWord, typed));  // no wrap-around: a beep
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(Sel(), std::make_pair(10L, 14L));
    EXPECT_FALSE(view.FindHebrew("", typed));  // nothing, not even a beep
    EXPECT_EQ(ui.beeps, 1);
    // Both forms at one place: the typed one.
    EXPECT_TRUE(view.FindHebrew(Heb("אבא"), typed));
    EXPECT_TRUE(typed);
}

TEST_F(FindTest, ReplaceTakesTheNextOccurrenceAndReplaceAllEnds) {
    view.SetWindowText(kWord + " " + kDrow + " " + kWord);
    view.SetSel(0, 4);  // the selection is an occurrence itself
    doc.SetDocModified(false);
    EXPECT_TRUE(view.ReplaceHebrew(kWord, Heb("יום טוב")));
    EXPECT_EQ(view.GetWindowText(), kWord + " " + Heb("בוט םוי") + " " + kWord);
    EXPECT_EQ(Sel(), std::make_pair(5L, 12L));  // the reversed replacement, selected
    EXPECT_TRUE(doc.IsModified());

    // Replace all from the selection on; the replacement holds the find string.
    const std::string text = kWord + " a\r\n" + kDrow + kWord + " " + kDrow;
    view.SetWindowText(text);
    view.SetSel(0, 2);
    view.ReplaceAllHebrew(kWord, "[" + kWord + "]");
    const std::string reversed = "]" + kDrow + "[";
    const std::string expected = kWord + " a\r\n" + reversed + "[" + kWord + "] " + reversed;
    EXPECT_EQ(view.GetWindowText(), expected);
    EXPECT_EQ(view.GetSelText(), reversed);  // the last replacement
    EXPECT_EQ(Sel().second, static_cast<long>(expected.size()));
    EXPECT_EQ(ui.beeps, 1);  // the last search's
}

TEST_F(FindTest, EachFindOpensItsOwnDialogAndHebrewIgnoresTheOptions) {
    view.SetWindowText("x " + kDrow + " y");
    view.SetSel(0, 1);
    EXPECT_TRUE(view.OnCmdMsg(CommandId::EditFind));
    CFindReplaceDialog* first = view.FindDialog();
    EXPECT_TRUE(view.OnCmdMsg(CommandId::EditFind));
    CFindReplaceDialog* second = view.FindDialog();
    ASSERT_TRUE(first != nullptr && second != nullptr);
    EXPECT_NE(first, second);
    EXPECT_TRUE(first->isVisible() && second->isVisible() && !second->isModal());
    EXPECT_EQ(second->GetFindString(), "x");  // the selection
    EXPECT_EQ(second->windowTitle(), QString::fromUtf8("חיפוש"));
    EXPECT_EQ(second->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(second->ReplaceEdit(), nullptr);

    second->FindEdit()->setText(QString::fromUtf8("שלום"));
    second->MatchCaseBox()->setChecked(true);
    second->WholeWordBox()->setChecked(true);
    second->FindNextButton()->click();
    EXPECT_EQ(Sel(), std::make_pair(2L, 6L));
    second->close();
    EXPECT_EQ(view.FindDialog(), nullptr);
    EXPECT_EQ(view.LastFindString(), kWord);
    first->close();

    // Nothing selected: the last find string.
    view.SetSel(0, 0);
    view.OnEditFind();
    EXPECT_EQ(view.FindDialog()->GetFindString(), "x");
    view.FindDialog()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(FindTest, LatinStringsUseCaseWordAndWrapAround) {
    view.SetWindowText("Cat cat catalog CAT\r\ncat");
    view.SetSel(4, 7);
    EXPECT_TRUE(view.OnCmdMsg(CommandId::EditReplace));
    CFindReplaceDialog* dialog = view.ReplaceDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetFindString(), "cat");
    dialog->MatchCaseBox()->setChecked(true);
    dialog->WholeWordBox()->setChecked(true);

    // On after the selection, round to where it started, then a miss.
    dialog->FindNextButton()->click();
    EXPECT_EQ(Sel(), std::make_pair(21L, 24L));
    dialog->FindNextButton()->click();
    EXPECT_EQ(Sel(), std::make_pair(4L, 7L));
    dialog->FindNextButton()->click();
    EXPECT_EQ(ui.beeps, 1);
    dialog->FindNextButton()->click();  // a new round
    EXPECT_EQ(Sel(), std::make_pair(21L, 24L));

    // Replace replaces the next occurrence, not the selected one.
    dialog->ReplaceEdit()->setText("dog");
    dialog->ReplaceButton()->click();
    EXPECT_EQ(view.GetWindowText(), "Cat dog catalog CAT\r\ncat");

    // Replace all: every occurrence once, wrapping around from the caret.
    view.SetSel(8, 8);
    dialog->MatchCaseBox()->setChecked(false);
    dialog->WholeWordBox()->setChecked(false);
    dialog->ReplaceEdit()->setText("a cat");
    dialog->ReplaceAllButton()->click();
    EXPECT_EQ(view.GetWindowText(), "a cat dog a catalog a cat\r\na cat");
    EXPECT_EQ(Sel(), std::make_pair(5L, 5L));  // after the one replaced last
    EXPECT_EQ(ui.beeps, 1);

    // Ctrl+R again brings the same dialog forward.
    EXPECT_TRUE(view.OnCmdMsg(CommandId::EditReplace));
    EXPECT_EQ(view.ReplaceDialog(), dialog);
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    view.SetWindowText("");
    EXPECT_FALSE(State(CommandId::EditFind).IsEnabled());
    EXPECT_FALSE(State(CommandId::EditReplace).IsEnabled());
}

}  // namespace

namespace {

// Tab goes down the fields column, then down the buttons column: from "find
// what" straight to "replace with".
TEST(FindReplaceDialogTest, TabFollowsReadingOrder) {
    for (const auto kind : {CFindReplaceDialog::Kind::Find, CFindReplaceDialog::Kind::Replace}) {
        auto* dialog = new CFindReplaceDialog(kind, QStringLiteral("x"), nullptr);
        dialog->show();
        QList<QWidget*> expected{dialog->FindEdit()};
        if (kind == CFindReplaceDialog::Kind::Replace) {
            expected.append(dialog->ReplaceEdit());
        }
        expected.append({dialog->WholeWordBox(), dialog->MatchCaseBox(), dialog->FindNextButton()});
        if (kind == CFindReplaceDialog::Kind::Replace) {
            expected.append({dialog->ReplaceButton(), dialog->ReplaceAllButton()});
        }
        const QList<QWidget*> chain = FocusChain(dialog);
        ASSERT_EQ(chain.size(), expected.size() + 1) << DescribeChain(chain, dialog);  // and cancel
        EXPECT_EQ(chain.mid(0, expected.size()), expected) << DescribeChain(chain, dialog);
        // Typed after a Tab from "find what", text lands in "replace with".
        if (kind == CFindReplaceDialog::Kind::Replace) {
            QApplication::setActiveWindow(dialog);
            dialog->FindEdit()->setFocus();
            QTest::keyClick(dialog->FindEdit(), Qt::Key_Tab);
            ASSERT_NE(dialog->focusWidget(), nullptr);
            QTest::keyClicks(dialog->focusWidget(), QStringLiteral("y"));
            EXPECT_EQ(dialog->ReplaceEdit()->text(), QStringLiteral("y"));
        }
        dialog->close();
    }
}

}  // namespace
