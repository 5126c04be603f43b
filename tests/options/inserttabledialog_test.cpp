#include "options/inserttabledialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "common/fakesheet.h"
#include "common/fakeui.h"
#include "common/focuschain.h"
#include "common/scratchfolder.h"
#include "document/hebdoc.h"
#include "options/modaldriver.h"
#include "view/hebview.h"

namespace {

using Dialog = CInsertTableDialog;

template <class W>
W* Control(Dialog* dialog, const char* id) {
    W* control = dialog->findChild<W*>(QString::fromLatin1(id));
    if (control == nullptr) {
        ADD_FAILURE() << "the dialog has no control " << id;
        std::abort();
    }
    return control;
}

QLineEdit* Rows(Dialog* dialog) {
    return Control<QLineEdit>(dialog, "1000");
}
QLineEdit* Columns(Dialog* dialog) {
    return Control<QLineEdit>(dialog, "1001");
}
void Press(Dialog* dialog, const char* id) {
    Control<QPushButton>(dialog, id)->click();
}

class InsertTableDialogTest : public ::testing::Test {
protected:
    // Shows the dialog; action gets it open and must close it.
    bool Run(std::function<void(Dialog*)> action) {
        WhenModal<Dialog>(std::move(action));
        return QtInsertTableDialog().Run(values);
    }

    FakeUi ui;
    InsertTableValues values;
};

TEST_F(InsertTableDialogTest, OpensWithOneAndOneAndTakesTheEndsOfTheRanges) {
    EXPECT_TRUE(Run([](Dialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("הוספת טבלה"));
        EXPECT_EQ(Rows(dialog)->text(), "1");
        EXPECT_EQ(Columns(dialog)->text(), "1");
        EXPECT_EQ(Control<QPushButton>(dialog, "1002")->text(), QString::fromUtf8("הגדרות"));
        EXPECT_TRUE(Control<QPushButton>(dialog, "1")->isDefault());
        Rows(dialog)->clear();
        QTest::keyClicks(Rows(dialog), "-5a0");  // digits only
        EXPECT_EQ(Rows(dialog)->text(), "50");
        Columns(dialog)->setText("20");
        Press(dialog, "1");
    }));
    EXPECT_EQ(values.rows, 50);
    EXPECT_EQ(values.columns, 20);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(InsertTableDialogTest, RefusedSizesKeepTheDialogOpenColumnsFirst) {
    const struct {
        const char* rows;
        const char* columns;
        const char* field;  // the box reported
        const char* range;  // what the message names
    } refusals[] = {
        {"51", "1", "1000", "1 ל-50"},
        {"1", "0", "1001", "1 ל-20"},
        {"", "1", "1000", "1 ל-50"},
        {"51", "21", "1001", "1 ל-20"},  // both wrong: the columns are reported
    };
    for (const auto& refusal : refusals) {
        ui.messages.clear();
        EXPECT_TRUE(Run([&](Dialog* dialog) {
            Rows(dialog)->setText(refusal.rows);
            Columns(dialog)->setText(refusal.columns);
            Press(dialog, "1");
            EXPECT_TRUE(dialog->isVisible());
            auto* field = Control<QLineEdit>(dialog, refusal.field);
            EXPECT_EQ(dialog->focusWidget(), field);
            EXPECT_EQ(field->selectedText(), field->text());
            Rows(dialog)->setText("3");
            Columns(dialog)->setText("4");
            Press(dialog, "1");
        })) << refusal.rows
            << "x" << refusal.columns;
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].contains(QString::fromUtf8(refusal.range))) << refusal.rows;
        EXPECT_EQ(values.rows, 3);
        EXPECT_EQ(values.columns, 4);
    }
}

TEST_F(InsertTableDialogTest, SettingsButtonAndCancelCloseWithoutTheNumbers) {
    EXPECT_FALSE(Run([](Dialog* dialog) {
        Rows(dialog)->setText("99");
        Press(dialog, "1002");
    }));
    EXPECT_TRUE(values.showSettings);
    EXPECT_EQ(values.rows, 1);
    EXPECT_FALSE(Run([](Dialog* dialog) {
        Rows(dialog)->setText("7");
        Press(dialog, "2");
    }));
    EXPECT_FALSE(values.showSettings);
    EXPECT_EQ(values.rows, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(InsertTableDialogTest, TheCommandComesBackToAFreshDialogAfterTheSheet) {
    ScratchFolder scratch;
    FakeOptionsSheet sheet;
    QtInsertTableDialog dialogs;
    SetInsertTableDialog(&dialogs);
    CHebDoc doc;
    CHebView view(&doc);
    int opened = 0;
    WhenModal<Dialog>([&](Dialog* first) {
        ++opened;
        Rows(first)->setText("5");
        WhenModal<Dialog>([&](Dialog* second) {
            ++opened;
            EXPECT_EQ(Rows(second)->text(), "1");
            EXPECT_EQ(Columns(second)->text(), "1");
            Columns(second)->setText("2");
            Press(second, "1");
        });
        Press(first, "1002");
    });
    doc.OnInsertTable();
    SetInsertTableDialog(nullptr);
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(sheet.pages, (std::vector<int>{kTablePage, kTablePage}));
    const std::string td =
        "\t<td align=\"right\" valign=\"top\" nowrap>\r\n\t\t&nbsp;\r\n\t</td>\r\n";
    EXPECT_EQ(doc.GetText(),
              "<table border=\"1\">\r\n<tr>\r\n" + td + td + "</tr>\r\n</table>\r\n");
}

}  // namespace

namespace {

TEST_F(InsertTableDialogTest, TabFollowsReadingOrder) {
    EXPECT_FALSE(Run([](Dialog* dialog) {
        const QList<QWidget*> chain = FocusChain(dialog);
        ASSERT_EQ(chain.size(), 5) << DescribeChain(chain, dialog);
        EXPECT_EQ(chain[0], Rows(dialog));
        EXPECT_EQ(chain[1], Columns(dialog));
        EXPECT_TRUE(FollowsRightToLeftReading(chain, dialog)) << DescribeChain(chain, dialog);
        Press(dialog, "2");
    }));
}

}  // namespace
