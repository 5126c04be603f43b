// The preview with the real web engine, under an X server: a page marked
// visual is laid out in visual order, an edit reloads it, the help page that
// ships shows right to left, and a previewed page's script can neither read
// local files nor take the window to the web.
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
#include "framework/localpath.h"

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

TEST_F(WebBrowserTest, APageLoadsItsOwnFilesButItsScriptReadsNoneAndStaysLocal) {
    // site/page.htm with a file beside it, one outside its folder and an
    // image (a GIF 7 pixels wide) reached through "../".
    ASSERT_TRUE(QDir().mkpath(Path("site")) && QDir().mkpath(Path("images")));
    WriteFile("images/x.gif",
              QByteArray::fromHex("47494638396107000300800000000000ffffff21f90401000000002c0000"
                                  "00000700030000020484818f5100003b")
                  .toStdString());
    WriteFile("site/beside.txt", "BESIDE");
    WriteFile("frame.htm", "<script>parent.postMessage('FRAME', '*');</script>");
    const QString outside = WriteFile("outside.txt", "OUTSIDE");
    // The external browser writes the address it was given.
    const QString browserProgram =
        WriteFile("browser.sh",
                  "#!/bin/sh\nprintf '%s\\n' \"$@\" >\"$(dirname \"$0\")/args.part\"\n"
                  "mv \"$(dirname \"$0\")/args.part\" \"$(dirname \"$0\")/args.txt\"\n");
    QFile::setPermissions(browserProgram, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const std::string page =
        "<a id='web' href='http://mirval.invalid/clicked' style='position:absolute;left:0;top:0;"
        "width:300px;height:100px;display:block'>web</a>\r\n"
        "<div style='margin-top:120px'><img id='i' src='../images/x.gif'>\r\n"
        "<p id='beside'>waiting</p><p id='outside'>waiting</p><p id='fetched'>waiting</p>\r\n"
        "<p id='framed'>waiting</p></div>\r\n"
        "<iframe src='../frame.htm'></iframe><iframe id='text' src='../outside.txt'></iframe>\r\n"
        "<script>\r\n"
        "window.addEventListener('message', function(e) { show('framed', e.data); });\r\n"
        "function show(id, text) { document.getElementById(id).textContent = text; }\r\n"
        "function read(address, id) {\r\n"
        "  var x = new XMLHttpRequest();\r\n"
        "  x.onload = function() { show(id, 'READ: ' + x.responseText); };\r\n"
        "  x.onerror = function() { show(id, 'FAILED'); };\r\n"
        "  try { x.open('GET', address); x.send(); } catch (e) { show(id, 'FAILED'); }\r\n"
        "}\r\n"
        "read('beside.txt', 'beside');\r\n"
        "read('" +
        QUrl::fromLocalFile(outside).toString().toStdString() +
        "', 'outside');\r\n"
        "fetch('../outside.txt').then(function(r) { return r.text(); })\r\n"
        "  .then(function(t) { show('fetched', 'READ: ' + t); },\r\n"
        "        function() { show('fetched', 'FAILED'); });\r\n"
        "</script>\r\n";
    CHebDoc* doc = OpenPage("site/page.htm", page, "");
    BrowseSettings settings;
    doc->GetBrowseSettings(settings);
    settings.BrowseFile = LocalPath(browserProgram);
    doc->SetBrowseSettings(settings);
    CWebBrowser* browser = PreviewAndWait(doc);
    ASSERT_NE(browser, nullptr);
    const QUrl local = QUrl::fromLocalFile(Path("site/page_mirval.htm"));
    ASSERT_EQ(browser->url().toString().toStdString(), local.toString().toStdString());

    const QString results = QStringLiteral(
        "['beside', 'outside', 'fetched'].map(function(id) {"
        "  return document.getElementById(id).textContent; }).join('|')");
    const QString allFailed = QStringLiteral("FAILED|FAILED|FAILED");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !RunScript(browser, results).toString().contains(QLatin1String("waiting")); },
        kWaitMs));
    EXPECT_EQ(RunScript(browser, results).toString().toStdString(), allFailed.toStdString());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return RunScript(browser, QStringLiteral("document.getElementById('i').complete"))
                .toBool();
        },
        kWaitMs));
    EXPECT_EQ(
        RunScript(browser, QStringLiteral("document.getElementById('i').naturalWidth")).toInt(), 7);
    // A frame shows a page through "../"; one showing a text file gives its
    // text to no script.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return RunScript(browser,
                             QStringLiteral("document.getElementById('framed').textContent"))
                       .toString() == QLatin1String("FRAME");
        },
        kWaitMs));
    EXPECT_FALSE(RunScript(browser, QStringLiteral("(function() { try {"
                                                   "  var d = document.getElementById('text')"
                                                   "    .contentDocument;"
                                                   "  return d.body.innerText; } catch (e) {"
                                                   "  return ''; } })()"))
                     .toString()
                     .contains(QLatin1String("OUTSIDE")));

    // A script sends the page to the web: it stays where it is, and the
    // external browser does not start.
    RunScript(browser, QStringLiteral("location.href = 'http://mirval.invalid/moved'; true"));
    QTest::qWait(1500);
    EXPECT_EQ(browser->url().toString().toStdString(), local.toString().toStdString());
    EXPECT_EQ(RunScript(browser, results).toString().toStdString(), allFailed.toStdString());
    EXPECT_FALSE(QFileInfo::exists(Path("args.txt")));

    // The user clicks the link: the address goes to the external browser,
    // and the preview stays.
    QWidget* surface = browser->focusProxy() != nullptr ? browser->focusProxy() : browser;
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(Path("args.txt")); }, kWaitMs));
    QFile args(Path("args.txt"));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(args.readAll(), QByteArray("http://mirval.invalid/clicked\n"));
    EXPECT_EQ(browser->url().toString().toStdString(), local.toString().toStdString());
    EXPECT_EQ(RunScript(browser, results).toString().toStdString(), allFailed.toStdString());
}

}  // namespace
