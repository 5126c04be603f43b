// The preview with the real web engine, under an X server: a page marked
// visual is laid out in visual order, an edit reloads it, and the help page
// that ships shows right to left.
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>

#include "app/appfixture.h"
#include "app/commandtable.h"
#include "browse/browsedoc.h"
#include "browse/browseview.h"
#include "browse/webbrowser.h"
#include "common/hebrew.h"
#include "document/hebdoc.h"

namespace {

constexpr int kWaitMs = 60000;

// Whether the first character of the element's text is drawn to the left of
// its last one.
const QString kFirstIsLeftmost = QStringLiteral(
    "(function() {"
    "  var text = document.getElementById('t').firstChild;"
    "  var range = document.createRange();"
    "  range.setStart(text, 0); range.setEnd(text, 1);"
    "  var first = range.getBoundingClientRect().left;"
    "  range.setStart(text, text.length - 1); range.setEnd(text, text.length);"
    "  return first < range.getBoundingClientRect().left;"
    "})()");

class WebBrowserTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        CBrowseView::SetBrowserFactory({});  // the real web engine, on local pages only
        ASSERT_TRUE(app->InitInstance());
    }

    static CWebBrowser* BrowserOf(CDocument* doc) {
        auto* view = doc != nullptr ? dynamic_cast<CBrowseView*>(doc->GetFirstView()) : nullptr;
        return view != nullptr ? dynamic_cast<CWebBrowser*>(view->Browser()) : nullptr;
    }
    static QVariant RunScript(CWebBrowser* browser, const QString& script) {
        QVariant result;
        bool done = false;
        browser->page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, kWaitMs));
        return result;
    }
    static QString PageText(CWebBrowser* browser) {
        QString text;
        bool done = false;
        browser->page()->toPlainText([&](const QString& value) {
            text = value;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, kWaitMs));
        return text;
    }
    // Previews the document in the preview window and waits for the page.
    CWebBrowser* PreviewAndWait(CHebDoc* doc) {
        CWebBrowser* browser = BrowserOf(doc->GetPreviewDoc());
        std::unique_ptr<QSignalSpy> spy;
        if (browser != nullptr) {
            spy = std::make_unique<QSignalSpy>(browser, &QWebEngineView::loadFinished);
        }
        doc->Preview(false, QString());
        if (browser == nullptr) {
            browser = BrowserOf(doc->GetPreviewDoc());
            if (browser == nullptr) {
                ADD_FAILURE() << "no browser";
                return nullptr;
            }
            spy = std::make_unique<QSignalSpy>(browser, &QWebEngineView::loadFinished);
        }
        EXPECT_TRUE(spy->wait(kWaitMs));
        EXPECT_TRUE(!spy->isEmpty() && spy->first().first().toBool());
        return browser;
    }
    CHebDoc* OpenPage(const char* name, const std::string& bytes, const std::string& meta) {
        auto* doc = qobject_cast<CHebDoc*>(Editor()->OpenDocumentFile(WriteFile(name, bytes)));
        EXPECT_NE(doc, nullptr);
        BrowseSettings settings;
        settings.BrowseDisplay = 0;
        settings.BrowseMeta = meta;
        doc->SetBrowseSettings(settings);
        return doc;
    }
};

TEST_F(WebBrowserTest, AVisualPageIsLaidOutLeftToRightAndReloadsAfterAnEdit) {
    // Stored in visual order: what is read right to left as "שלום עולם".
    const std::string visual = Heb("<p id=\"t\" align=\"right\">םלוע םולש</p>\r\n");
    CHebDoc* doc = OpenPage("visual.htm", visual, "<meta charset='visual'>");
    CWebBrowser* browser = PreviewAndWait(doc);
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(RunScript(browser, QStringLiteral("document.characterSet")).toString(),
              QStringLiteral("ISO-8859-8"));
    EXPECT_EQ(PageText(browser).trimmed(), QStringLiteral("םלוע םולש"));
    EXPECT_TRUE(RunScript(browser, kFirstIsLeftmost).toBool());

    // An edit, then the command again: the page is reloaded from the file.
    doc->SetText(Heb("<p id=\"t\">אבג</p>\r\n"));
    doc->SetDocModified(true);
    PreviewAndWait(doc);
    EXPECT_EQ(PageText(browser).trimmed(), QStringLiteral("אבג"));

    // Closing the window deletes the file.
    const QString file = doc->GetPreviewFilePath();
    EXPECT_TRUE(QFile::exists(file));
    doc->GetPreviewDoc()->OnCloseDocument();
    Settle();
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(WebBrowserTest, ALogicalPageIsLaidOutRightToLeft) {
    // The same bytes without the visual label: the engine orders them itself.
    const std::string logical = Heb("<p id=\"t\">שלום עולם</p>\r\n");
    CHebDoc* doc = OpenPage("logical.htm", logical, "<meta charset='windows-1255'>");
    CWebBrowser* browser = PreviewAndWait(doc);
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(PageText(browser).trimmed(), QStringLiteral("שלום עולם"));
    EXPECT_FALSE(RunScript(browser, kFirstIsLeftmost).toBool());
}

TEST_F(WebBrowserTest, TheShippedHelpPageShowsRightToLeftAndStays) {
    ASSERT_TRUE(app->OnCmdMsg(CommandId::HelpFile));
    auto* page = qobject_cast<CBrowseDoc*>(Frame()->GetActiveDocument());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetTitle(), QStringLiteral("Browsing: Help"));
    CWebBrowser* browser = BrowserOf(page);
    ASSERT_NE(browser, nullptr);
    QSignalSpy loaded(browser, &QWebEngineView::loadFinished);
    ASSERT_TRUE(loaded.wait(kWaitMs));
    EXPECT_TRUE(loaded.first().first().toBool());
    EXPECT_EQ(RunScript(browser, QStringLiteral("document.dir")).toString(), QStringLiteral("rtl"));
    EXPECT_EQ(RunScript(browser, QStringLiteral("document.characterSet")).toString(),
              QStringLiteral("UTF-8"));
    EXPECT_TRUE(PageText(browser).contains(QStringLiteral("צפיה בדפדפן")));
    const QString file = page->GetPathName();
    page->OnCloseDocument();
    Settle();
    EXPECT_TRUE(QFile::exists(file));
}

}  // namespace
