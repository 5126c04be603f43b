// A logical page made visual and turned back into a modern page shows the
// same text in the web engine as the page itself (the body's innerText,
// white space runs collapsed), over generated pages of Hebrew words with
// punctuation, numbers, Latin words and tags inside the lines, under varied
// settings of the visual conversion.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QEventLoop>
#include <QWebEnginePage>
#include <random>
#include <string>

#include "common/hebrew.h"
#include "convert/conversionchain.h"
#include "text/utf8codec.h"

namespace {

QString BodyText(QWebEnginePage& page, const std::string& cp1255) {
    const std::string utf8 = Utf8Codec::EncodeCp1255(cp1255);
    QEventLoop loop;
    const auto connection =
        QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, &QEventLoop::quit);
    page.setHtml(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())),
                 QUrl(QStringLiteral("file:///modern/")));
    loop.exec();
    QObject::disconnect(connection);
    QString text;
    page.runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                       [&](const QVariant& value) {
                           text = value.toString();
                           loop.quit();
                       });
    loop.exec();
    return text.simplified();
}

// A page of paragraphs; each line begins and ends with a Hebrew word and
// holds single Latin words, numbers, punctuation and inline tags between.
std::string LogicalPage(std::mt19937& random) {
    const std::string words[] = {Heb("שלום"), Heb("עולם"), Heb("ספר"), Heb("מילים"),
                                 Heb("ארוך"), Heb("אב"),   Heb("כתב"), Heb("דף"),
                                 Heb("בית"),  Heb("ילד"),  Heb("הלך"), Heb("עברית")};
    const auto hebrew = [&] { return words[random() % std::size(words)]; };
    std::string page = "<html><head><title>" + hebrew() + "</title></head><body>\r\n";
    const int paragraphs = 1 + static_cast<int>(random() % 4);
    for (int p = 0; p < paragraphs; ++p) {
        page += "<p>\r\n";
        const int lines = 1 + static_cast<int>(random() % 4);
        for (int l = 0; l < lines; ++l) {
            std::string line = hebrew();
            const int count = 3 + static_cast<int>(random() % 25);
            for (int w = 0; w < count; ++w) {
                switch (random() % 10) {
                    case 0:
                        line += " " + std::to_string(random() % 5000);
                        break;
                    case 1:
                        line += " Latin";
                        break;
                    case 2:
                        line += " <b>" + hebrew() + "</b>";
                        break;
                    case 3:
                        line += ",";
                        break;
                    case 4:
                        line += " \"" + hebrew() + "\"";
                        break;
                    case 5:
                        line += " (" + hebrew() + ")";
                        break;
                    default:
                        break;
                }
                line += " " + hebrew();
            }
            page += line + (random() % 3 == 0 ? "." : "") + "\r\n";
        }
        page += "</p>\r\n";
    }
    return page + "</body></html>\r\n";
}

TEST(ModernPage, ShowsTheTextOfTheLogicalPage) {
    if (::geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");  // the engine's sandbox refuses root
    }
    QWebEnginePage browser;
    std::mt19937 random(1255);
    int same = 0;
    constexpr int kPages = 60;
    for (int k = 0; k < kPages; ++k) {
        const std::string logical = LogicalPage(random);
        ConversionSettings settings;
        settings.BreakLinesAt = 30 + static_cast<int>(random() % 80);
        settings.AddToHebParagraph = static_cast<int>(random() % 2);
        settings.RemoveTag = static_cast<int>(random() % 2);
        settings.AddToBrokenLine = random() % 2 ? "<br>" : "<BR>";
        std::string page = logical;
        ASSERT_TRUE(conversion::ToVisual(page, settings, conversion::VisualScope::WholeText));
        ASSERT_TRUE(conversion::ToModern(page, settings, true));
        const QString expected = BodyText(browser, logical);
        const QString got = BodyText(browser, page);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(got.toStdString(), expected.toStdString())
            << "width " << settings.BreakLinesAt << "\n"
            << Utf8Codec::EncodeCp1255(logical) << "\n"
            << Utf8Codec::EncodeCp1255(page);
        same += got == expected ? 1 : 0;
    }
    EXPECT_EQ(same, kPages);
}

}  // namespace
