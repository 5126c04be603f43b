// The program's file filters as Qt dialogs take them, the default extension,
// and the command line.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "app/commandline.h"
#include "app/hebapp.h"
#include "app/qtuiservices.h"

namespace {

// Whether a Qt name filter's patterns (in its last parentheses) match a name,
// the way the file dialog matches them (case does not matter).
bool Matches(const QString& filter, const QString& name) {
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const QStringList patterns =
        filter.mid(open + 1, filter.size() - open - 2).split(QLatin1Char(' '));
    for (const QString& pattern : patterns) {
        const QRegularExpression expression(
            QRegularExpression::wildcardToRegularExpression(pattern),
            QRegularExpression::CaseInsensitiveOption);
        if (expression.match(name).hasMatch()) {
            return true;
        }
    }
    return false;
}

TEST(QtUiServicesTest, FiltersBecomeQtNameFilters) {
    const QStringList open = QtUiServices::ToQtFilters(CHebApp::OpenFilter());
    EXPECT_EQ(open, QStringList({"Web files (*.htm* *.asp)", "MIRVAL Templates (*.mvt)",
                                 "Text files (*.txt)", "All files (*)"}));
    EXPECT_TRUE(Matches(open[0], QStringLiteral("index.html")));
    EXPECT_TRUE(Matches(open[0], QStringLiteral("INDEX.HTM")));
    EXPECT_TRUE(Matches(open[0], QStringLiteral("page.asp")));
    EXPECT_FALSE(Matches(open[0], QStringLiteral("page.txt")));
    // "*.*" also finds files without an extension, as it does on Windows.
    EXPECT_TRUE(Matches(open[3], QStringLiteral("Makefile")));

    // A name without its own list gets one; empty entries end the list.
    EXPECT_EQ(QtUiServices::ToQtFilters(QStringLiteral("Pages|*.htm;*.html|Other|*.x||ignored|*")),
              QStringList({"Pages (*.htm *.html)", "Other (*.x)"}));
    EXPECT_TRUE(QtUiServices::ToQtFilters(QString()).isEmpty());
}

TEST(QtUiServicesTest, DefaultExtensionOnlyForNamesWithoutOne) {
    EXPECT_EQ(QtUiServices::WithDefaultExtension(QStringLiteral("/a/page"), QStringLiteral("htm")),
              QStringLiteral("/a/page.htm"));
    EXPECT_EQ(QtUiServices::WithDefaultExtension(QStringLiteral("/a/page.txt"), "htm"),
              QStringLiteral("/a/page.txt"));
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(QtUiServices::WithDefaultExtension(QStringLiteral("/a.b/page"), "mvt"),
              QStringLiteral("/a.b/page.mvt"));
    EXPECT_EQ(QtUiServices::WithDefaultExtension(QStringLiteral("/a/page"), QString()),
              QStringLiteral("/a/page"));
}

TEST(CommandLineTest, FileAndTestOptions) {
    CommandLine line = ParseCommandLine({"mirval"});
    EXPECT_TRUE(line.file.isEmpty());
    EXPECT_TRUE(line.error.isEmpty());

    line = ParseCommandLine(
        {"mirval", "--screenshot", "/tmp/s.png", "--quit-after", "1500", "page.htm"});
    EXPECT_EQ(line.file, QStringLiteral("page.htm"));
    EXPECT_EQ(line.screenshot, QStringLiteral("/tmp/s.png"));
    EXPECT_EQ(line.quitAfterMs, 1500);
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_FALSE(line.newInstance);
    EXPECT_TRUE(ParseCommandLine({"mirval", "--new-instance", "a.htm"}).newInstance);

    EXPECT_FALSE(ParseCommandLine({"mirval", "a.htm", "b.htm"}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"mirval", "--quit-after", "soon"}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"mirval", "--screenshot"}).error.isEmpty());
}

}  // namespace
