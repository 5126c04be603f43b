#include <gtest/gtest.h>

#include "common/hebrew.h"
#include "convert/convert.h"

namespace {

struct Case {
    const char* name;
    std::string input;
    int tabMode;
    bool keepOuterSpace;
    std::string expected;
};

class LogicalToVisualTest : public testing::TestWithParam<Case> {};

TEST_P(LogicalToVisualTest, Converts) {
    std::string text = GetParam().input;
    CConvert::LogicalToVisual(text, GetParam().tabMode, GetParam().keepOuterSpace);
    EXPECT_EQ(text, GetParam().expected);
}

const Case kCases[] = {
    {"Empty", "", 1, false, ""},
    {"LatinRunStaysWhole", "abc", 1, false, "abc"},
    {"KeepOuterSpaceKeepsLineEnd", "abc", 1, true, "abc\r\n"},
    {"TagAfterWord", Heb("שלום<b>"), 1, false, Heb("<b>םולש")},
    {"ParenthesesMirrored", Heb("(שלום)"), 1, false, Heb("(םולש)")},
    {"BracesOnlyReversed", Heb("{א}"), 1, false, Heb("}א{")},
    {"RunPunctuationPlacedApart", Heb("abc. א"), 1, false, Heb("א .abc")},
    {"LeadingMinusGoesRight", Heb("-5 א"), 1, false, Heb("א 5-")},
    {"SpaceThenMinus", Heb(" -5 א"), 1, false, Heb("א 5-")},
    {"Orientation", Heb("אבג דהו abc def. זחט"), 1, false, Heb("טחז .abc def והד גבא")},
    {"QuotEntityBecomesQuote", Heb("א&quot;ב"), 1, false, Heb("ב\"א")},
    {"UpperQuotEntity", Heb("א&QUOT;ב"), 1, false, Heb("ב\"א")},
    {"NbspVanishes", Heb("א&nbsp;ב&NBSP;ג"), 1, false, Heb("גבא")},
    {"OtherEntitiesAreNotKept", Heb("א &amp; ב"), 1, false, Heb("ב ;amp& א")},
    {"TabBecomesSpace", Heb("א\tב"), 1, false, Heb("ב א")},
    {"TabKeptWithOtherMode", Heb("א\tב"), 0, false, Heb("ב\tא")},
    {"TabKeptWithModeTwo", Heb("א\tב"), 2, false, Heb("ב\tא")},
    {"PointsAndMarksDropped", Heb("א\xC0ב\xA0ג\xA4\x96"), 1, false, Heb("גבא")},
    {"EllipsisExpanded", Heb("א\x85"), 1, false, Heb("...א")},
    {"HighLettersKept", Heb("א\xFD\xFE"), 1, false, Heb("\xFE\xFDא")},
    {"LfLinesGetCrLf", Heb("אב\nגד"), 1, false, Heb("בא\r\nדג")},
    {"CrOnlyLines", Heb("אב\rגד"), 1, false, Heb("בא\r\nדג")},
    {"DoubleCrSeparatorWins", Heb("אב\r\r\nג\r\nד"), 1, false, Heb("בא\r\nד\n\rג")},
    {"EmptyLineInMiddle", Heb("א\r\n\r\nב"), 1, false, Heb("א\r\n\r\nב")},
    {"TrailingSeparatorAddsNoLine", Heb("א\r\n"), 1, true, Heb("א\r\n")},
    {"OuterSpaceTrimmed", Heb("  א  \r\n\r\n"), 1, false, Heb("א")},
    {"OuterSpaceKept", Heb(" אב"), 1, true, Heb("בא \r\n")},
    {"TagWithAttributesIsOneRun", Heb("ראה <a href='page.htm'>כאן</a>"), 1, false,
     Heb("</a>ןאכ<a href='page.htm'> האר")},
    {"HyphenInsideRunStays", Heb("a-b א"), 1, false, Heb("א a-b")},
    {"NumberWithComma", Heb("מחיר 1,000 שח"), 1, false, Heb("חש 1,000 ריחמ")},
    // The dropped comma is placed on its own, beside the run that kept the other.
    {"RunEndingInPunctuationOnly", Heb("x,, א"), 1, false, Heb("א ,x,")},
};

INSTANTIATE_TEST_SUITE_P(Cases, LogicalToVisualTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Reversing a visual line again gives back the logical line for text made of
// words and runs without punctuation at their ends: this is how visual HTML is
// turned back into logical text.
TEST(LogicalToVisual, TwiceRestoresPlainLines) {
    const std::string lines[] = {
        Heb("שלום עולם"),
        Heb("אבג דהו abc def זחט"),
        Heb("מספר 123 ושם file_name.htm כאן"),
        Heb("(הערה) בסוגריים"),
    };
    for (const std::string& line : lines) {
        std::string text = line;
        CConvert::LogicalToVisual(text, 1, false);
        CConvert::LogicalToVisual(text, 1, false);
        EXPECT_EQ(text, line);
    }
}

TEST(LogicalToVisual, KeepsEveryLetterOfALongLine) {
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text += Heb("אבג def, ");
    }
    CConvert::LogicalToVisual(text, 1, false);
    size_t hebrew = 0;
    size_t latin = 0;
    for (char c : text) {
        hebrew += static_cast<unsigned char>(c) >= 0xE0;
        latin += c >= 'd' && c <= 'f';
    }
    EXPECT_EQ(hebrew, 60000u);
    EXPECT_EQ(latin, 60000u);
}

TEST(DosToWindows, RecodesAndShrinksSpaces) {
    const struct {
        std::string input;
        std::string expected;
    } cases[] = {
        {"\x80\x81", Heb("אב")},
        {"\x9A", Heb("ת")},
        {"a    b", "ab"},
        {"a   b", "a b"},
        {"a\xFF b", "ab"},  // 0xFF and the space after it vanish together
        {"a \xFF", "a  "},  // a space before 0xFF is compared with 0xFF itself
        {"\xFF", " "},
        {"\x80\r\n\x81", Heb("א\r\nב")},
        {"\x9B\xE0", "\x9B\xE0"},  // only the 27 DOS letters are recoded
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.input;
        CConvert::DosToWindows(text);
        EXPECT_EQ(text, c.expected);
    }
}

}  // namespace
