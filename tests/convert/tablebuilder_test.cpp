#include "convert/tablebuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Short tags keep the expected tables readable.
const TableTags kShortTags{"<T>", "<R>", "<D>"};

TEST(TableBuilderTest, EmptyCellsAndRows) {
    const struct {
        const char* visual;
        const char* table;
    } cases[] = {
        // The first cell of the first row is empty.
        {"\ta\r\n", "<T>\r\n<R><D>&nbsp;</td><D>a</td></tr>\r\n<R><D></td></tr></table>\r\n"},
        // Two TABs in a row: an empty cell between them.
        {"a\t\tb\r\n",
         "<T>\r\n<R><D>a</td><D>&nbsp;</td><D>b</td></tr>\r\n<R><D></td></tr></table>\r\n"},
        // A TAB before the line end: the row's last cell is empty.
        {"a\t\r\nb\r\n",
         "<T>\r\n<R><D>a</td><D>&nbsp;</td></tr>\r\n<R><D>b</td></tr>\r\n<R><D></td></tr>"
         "</table>\r\n"},
        // A TAB after the line end: the next row's first cell is empty.
        {"a\r\n\tb\r\n",
         "<T>\r\n<R><D>a</td></tr>\r\n<R><D>&nbsp;</td><D>b</td></tr>\r\n<R><D></td></tr>"
         "</table>\r\n"},
        // An empty line: a row of one empty cell, without a filler.
        {"a\r\n\r\nb\r\n",
         "<T>\r\n<R><D>a</td></tr>\r\n<R><D></td></tr>\r\n<R><D>b</td></tr>\r\n<R><D></td></tr>"
         "</table>\r\n"},
        // The text's own placeholder becomes a line end too.
        {"a<CRLF>b\r\n", "<T>\r\n<R><D>a\r\nb</td></tr>\r\n<R><D></td></tr></table>\r\n"},
        // A CR alone or a LF alone ends no row; the last row needs no line end.
        {"a\rb\nc", "<T>\r\n<R><D>a\rb\nc</td></tr></table>\r\n"},
        {"\r\r\n", "<T>\r\n<R><D>\r</td></tr>\r\n<R><D></td></tr></table>\r\n"},
        // Nothing at all: one row of one empty cell.
        {"", "<T>\r\n<R><D></td></tr></table>\r\n"},
        {"\t", "<T>\r\n<R><D>&nbsp;</td><D></td></tr></table>\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TableBuilder::Build(c.visual, kShortTags), c.table) << c.visual;
    }
}

TEST(TableBuilderTest, TagsHoldingLineEndsAndTabsAreWrittenAsTheyAre) {
    // Such tags used to be searched again as rows and cells, for ever.
    const TableTags tags{"<T>\t\r\n", "<R>\r\n", "<D>\t"};
    EXPECT_EQ(TableBuilder::Build("a\tb\r\n\r\nc\t\r\n", tags),
              "<T>\t\r\n\r\n<R>\r\n<D>\ta</td><D>\tb</td></tr>\r\n"
              "<R>\r\n<D>\t</td></tr>\r\n"
              "<R>\r\n<D>\tc</td><D>\t&nbsp;</td></tr>\r\n"
              "<R>\r\n<D>\t</td></tr></table>\r\n");
    // A tag may also hold the placeholder, which becomes a line end.
    EXPECT_EQ(TableBuilder::Build("a", TableTags{"<T>", "<R><CRLF>", "<D>"}),
              "<T>\r\n<R>\r\n<D>a</td></tr></table>\r\n");
}

TEST(TableBuilderTest, LargeTextIsBuiltInOnePass) {
    // A quadratic builder would not finish this in the test's time.
    constexpr size_t kRows = 200000;
    std::string visual;
    for (size_t i = 0; i < kRows; ++i) {
        visual += "a\t\tb\r\n";
    }
    const std::string table = TableBuilder::Build(visual, TableTags{"<T>", "<R>", "<D>"});
    const std::string row = "a</td><D>&nbsp;</td><D>b</td></tr>\r\n<R><D>";
    EXPECT_EQ(table.size(), 11 + kRows * row.size() + 20);
    EXPECT_EQ(table.substr(11 + (kRows - 1) * row.size(), row.size()), row);
}

}  // namespace
