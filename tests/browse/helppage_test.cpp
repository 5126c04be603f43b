// The help page, the home page and BrowseAddress: preview windows without a
// source, which never delete their file; and the help page that ships.
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "app/commandtable.h"
#include "browsefixture.h"
#include "framework/programfolder.h"

namespace {

class HelpPageTest : public BrowseTest {};

TEST_F(HelpPageTest, AHelpPageWindowNeverDeletesItsFile) {
    const QString help = WriteFile("h_mirval.htm", "<html dir=\"rtl\"></html>");
    auto* page = qobject_cast<CBrowseDoc*>(app->BrowseAddress(help, QStringLiteral("Help")));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetTitle(), QStringLiteral("Browsing: Help"));
    EXPECT_EQ(page->GetSourceDoc(), nullptr);
    EXPECT_EQ(page->GetPathName(), help);
    EXPECT_EQ(BrowserOf(page)->addresses, QStringList({help}));
    CloseWindowOf(page);
    EXPECT_TRUE(Preview()->Documents().isEmpty());
    EXPECT_TRUE(QFile::exists(help));

    // Not even a page named like a preview file.
    const QString named = WriteFile("x_mirval.htm", "x");
    CloseWindowOf(app->BrowseAddress(named, QStringLiteral("x")));
    EXPECT_TRUE(QFile::exists(named));
}

TEST_F(HelpPageTest, WebAddressesOpenAnEmptyDocument) {
    // "https:" as "http:": neither is taken for a file.
    for (const QString& address : {QStringLiteral("http://mirval.invalid/a.htm"),
                                   QStringLiteral("https://mirval.invalid/a.htm")}) {
        CDocument* page = app->BrowseAddress(address, QStringLiteral("x"));
        ASSERT_NE(page, nullptr) << address.toStdString();
        EXPECT_TRUE(page->GetPathName().isEmpty());
        EXPECT_EQ(BrowserOf(page)->addresses, QStringList({address}));
    }
    EXPECT_EQ(Preview()->Documents().size(), 2);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(HelpPageTest, HomePageOpensItsAddress) {
    const QString address = CHebApp::HomePageAddress();
    EXPECT_TRUE(address.startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(app->OnCmdMsg(CommandId::HomePage));
    Settle();
    auto* page = qobject_cast<CBrowseDoc*>(Frame()->GetActiveDocument());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetTitle(), QStringLiteral("Browsing: Home Page - ") + address);
    EXPECT_TRUE(page->GetPathName().isEmpty());
    EXPECT_EQ(page->GetSourceDoc(), nullptr);
    EXPECT_EQ(BrowserOf(page)->addresses, QStringList({address}));
}

TEST_F(HelpPageTest, HelpWithoutItsPageDoesNothing) {
    if (QFileInfo::exists(FindDataFile(QStringLiteral("h_mirval.htm")))) {
        GTEST_SKIP() << "a help page is installed";
    }
    EXPECT_TRUE(app->OnCmdMsg(CommandId::HelpFile));
    Settle();
    EXPECT_TRUE(Preview()->Documents().isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
}

// The page as it ships, decoded as the charset it declares.
QString ShippedHelpPage() {
    QFile file(QStringLiteral(MIRVAL_SOURCE_DATA_DIR "/h_mirval.htm"));
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    return decoder.hasError() ? QString() : text;
}

// A menu text as the help page writes it: without the "&" that marks the
// access key and without the key after the tab.
QString Plain(QString text) {
    text = text.section(QLatin1Char('\t'), 0, 0);
    text.remove(QLatin1Char('&'));
    return text.trimmed();
}

TEST(ShippedHelpPageTest, IsAHebrewRightToLeftPageDescribingEveryMenuCommand) {
    const QString page = ShippedHelpPage();
    ASSERT_FALSE(page.isEmpty()) << "missing, or not UTF-8";
    EXPECT_TRUE(page.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(page.contains(QStringLiteral("<html lang=\"he\" dir=\"rtl\">")));
    // Written in reading order, not for a visual browser.
    EXPECT_FALSE(page.contains(QStringLiteral("<meta charset='visual'>")));
    for (const CommandInfo& info : CommandTable()) {
        QString text = Plain(info.MenuText());
        if (text.isEmpty()) {
            text = Plain(info.ToolTip());  // a toolbar button without a menu item
        }
        if (text.isEmpty()) {
            continue;  // a key or a status-bar pane
        }
        EXPECT_TRUE(page.contains(text.toHtmlEscaped())) << info.id << " " << text.toStdString();
    }
    for (const MenuEntry& popup : MenuResource(kEditorMenu)) {
        EXPECT_TRUE(page.contains(Plain(popup.text).toHtmlEscaped())) << popup.text.toStdString();
    }
}

}  // namespace
