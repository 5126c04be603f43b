// The status pane that tells whether the active document is stored in visual
// or logical order.
#include <gtest/gtest.h>

#include <QLabel>

#include "app/appfixture.h"
#include "common/hebrew.h"
#include "framework/commandids.h"

namespace {

class OrderPaneTest : public AppTest {
protected:
    QString Pane() {
        Frame()->UpdateCommandUI();
        return Frame()->OrderPane()->text();
    }
};

TEST_F(OrderPaneTest, FollowsOpeningConversionAndTheActiveDocument) {
    const QString visual = WriteFile("visual.htm", Heb("םולש םלוע םידלי ןג<br>\r\n"));
    const QString logical = WriteFile("logical.txt", Heb("שלום עולם ילדים גן\r\n"));
    ui.fileAnswers = {visual, logical};
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(Pane(), QString());  // an empty new document

    ASSERT_TRUE(Route(CommandId::FileOpen));
    EXPECT_EQ(Pane(), QStringLiteral("ויזואלי"));
    EXPECT_GE(Frame()->OrderPane()->width(),
              Frame()->OrderPane()->fontMetrics().horizontalAdvance(QStringLiteral("ויזואלי")));
    ASSERT_TRUE(Route(CommandId::ConvertToLogical));
    EXPECT_EQ(Pane(), QStringLiteral("לוגי"));
    ASSERT_TRUE(Route(CommandId::UndoConvert));
    EXPECT_EQ(Pane(), QStringLiteral("ויזואלי"));

    ASSERT_TRUE(Route(CommandId::FileOpen));
    EXPECT_EQ(Pane(), QStringLiteral("לוגי"));
    ASSERT_TRUE(Route(CommandId::FileNew));
    EXPECT_EQ(Pane(), QString());
}

}  // namespace
