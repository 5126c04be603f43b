#include <gtest/gtest.h>

#include <climits>

#include "common/hebrew.h"
#include "convert/convert.h"

namespace {

struct WrapCase {
    const char* name;
    std::string input;
    int width = 70;
    int breakLines = 1;
    int addToHebParagraph = 0;
    int twoCrlfPara = 0;
    std::string expected;
};

std::string Wrap(const WrapCase& c) {
    std::string text = c.input;
    CConvert::WrapVisualLines(text, c.width, c.breakLines, "<br>", c.addToHebParagraph,
                              "<div align=\"right\">", "</div>", c.twoCrlfPara);
    return text;
}

class WrapVisualLinesTest : public testing::TestWithParam<WrapCase> {};

TEST_P(WrapVisualLinesTest, Wraps) {
    EXPECT_EQ(Wrap(GetParam()), GetParam().expected);
}

const std::string kDiv = "<div align=\"right\">\r\n";

const WrapCase kCases[] = {
    {.name = "ShortHebrewLine", .input = Heb("  שלום  "), .expected = Heb("שלום<br>\r\n")},
    {.name = "LogicalFirstWordFirst",
     .input = Heb("אבג דהו"),
     .width = 4,
     .expected = Heb("דהו<br>\r\nאבג<br>\r\n")},
    {.name = "LatinPiecesJoinWithoutMarks",
     .input = Heb("abc def ghi jkl מנס"),
     .width = 8,
     .expected = Heb("jkl מנס<br>\r\nghiabc def")},
    {.name = "SpacesOnlyLineContributesNothing", .input = "   ", .expected = ""},
    {.name = "EmptyLineBetweenLines",
     .input = Heb("א\r\n\r\nב"),
     .expected = Heb("א<br>\r\n<br>\r\nב<br>\r\n")},
    {.name = "EmptyLinesAtEndVanish",
     .input = Heb("א\r\n\r\n\r\n"),
     .expected = Heb("א<br>\r\n<br>\r\n")},
    {.name = "EmptyLineAtStart", .input = Heb("\r\nא"), .expected = Heb("<br>\r\nא<br>\r\n")},
    {.name = "BlankLineEndsHebrewBlock",
     .input = Heb("א\r\n   \r\nב"),
     .addToHebParagraph = 1,
     .expected = kDiv + Heb("א<br>\r\n</div>\r\n") + kDiv + Heb("ב<br>\r\n</div>\r\n")},
    {.name = "ClosingStringAtEndAlways",
     .input = "abc",
     .addToHebParagraph = 1,
     .expected = "abc</div>\r\n"},
    {.name = "ClosingStringTwiceAfterHebrew",
     .input = Heb("א\r\nabc"),
     .addToHebParagraph = 1,
     .expected = kDiv + Heb("א<br>\r\nabc</div>\r\n</div>\r\n")},
    {.name = "DoubledBreakBecomesParagraph",
     .input = Heb("א\r\n\r\nב"),
     .twoCrlfPara = 1,
     .expected = Heb("<p>א</p>\r\n<p>\r\nב<br>\r\n</p>")},
    {.name = "NoParagraphWithoutEmptyLine",
     .input = Heb("א\r\nב"),
     .twoCrlfPara = 1,
     .expected = Heb("א<br>\r\nב<br>\r\n")},
    {.name = "NoBreakLinesJoinsPieces",
     .input = Heb("אבג דהו\r\nזח"),
     .width = 4,
     .breakLines = 0,
     .expected = Heb("דהואבגזח")},
    // A word longer than the line is not cut: it becomes a piece of its own.
    {.name = "LongWordIsOnePiece",
     .input = Heb("אבגדהוזחט"),
     .width = 4,
     .expected = Heb("אבגדהוזחט<br>\r\n")},
    {.name = "LongWordAfterShortOne",
     .input = Heb("אב גדהוזחט"),
     .width = 4,
     .expected = Heb("גדהוזחט<br>\r\nאב<br>\r\n")},
    // The first space at or after the cut index is the line's last byte.
    {.name = "TrailingSpaceDoesNotStall",
     .input = Heb("אב גד "),
     .width = 3,
     .expected = Heb("גד<br>\r\nאב<br>\r\n")},
    {.name = "WidthZeroPutsEachWordApart",
     .input = Heb("אב גד הו"),
     .width = 0,
     .expected = Heb("הו<br>\r\nגד<br>\r\nאב<br>\r\n")},
    {.name = "NegativeWidth",
     .input = Heb("אב גד"),
     .width = INT_MIN,
     .expected = Heb("גד<br>\r\nאב<br>\r\n")},
    {.name = "WidthOneOnEmptyLine",
     .input = Heb("א\r\n\r\nב"),
     .width = 1,
     .expected = Heb("א<br>\r\n<br>\r\nב<br>\r\n")},
    {.name = "HugeWidth",
     .input = Heb("אב גד"),
     .width = INT_MAX,
     .expected = Heb("אב גד<br>\r\n")},
};

INSTANTIATE_TEST_SUITE_P(Cases, WrapVisualLinesTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WrapVisualLines, EmptyBreakStringMakesEveryLineEndAParagraph) {
    std::string text = Heb("א\r\nב");
    CConvert::WrapVisualLines(text, 70, 1, "", 0, "", "", 1);
    EXPECT_EQ(text, Heb("<p>א</p>\r\n<p>ב</p>\r\n<p></p>"));
}

// Every piece fits the line, no word is lost, and the pieces come logical
// beginning first: reading them in order gives the visual line right to left.
TEST(WrapVisualLines, PiecesFitAndKeepEveryWord) {
    std::string line;
    for (int i = 0; i < 500; ++i) {
        line += Heb(i % 3 ? "אבגד " : "הו ");
    }
    for (int width : {5, 10, 30, 70, 200}) {
        std::string text = line;
        CConvert::WrapVisualLines(text, width, 1, "<br>", 0, "", "", 0);
        std::string rebuilt;
        size_t pos = 0;
        while (pos < text.size()) {
            const size_t end = text.find("<br>\r\n", pos);
            ASSERT_NE(end, std::string::npos);
            const std::string piece = text.substr(pos, end - pos);
            EXPECT_LT(piece.size(), static_cast<size_t>(width));
            rebuilt = piece + (rebuilt.empty() ? "" : " ") + rebuilt;
            pos = end + 6;
        }
        std::string expected = line;
        expected.pop_back();
        EXPECT_EQ(rebuilt, expected) << "width " << width;
    }
}

}  // namespace
