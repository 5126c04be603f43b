#include <gtest/gtest.h>

#include "common/hebrew.h"
#include "convert/conversionchain.h"

namespace {

using conversion::VisualScope;

std::string Visual(std::string text, VisualScope scope, ConversionSettings settings = {}) {
    EXPECT_TRUE(conversion::ToVisual(text, settings, scope));
    return text;
}

TEST(ToVisual, WholeText) {
    EXPECT_EQ(Visual(Heb("שלום עולם"), VisualScope::WholeText), Heb("םלוע םולש<br>\r\n"));
    EXPECT_EQ(Visual(Heb("א\r\nב"), VisualScope::WholeText), Heb("א<br>\r\nב<br>\r\n"));
}

TEST(ToVisual, DosLettersAreRecodedNotReversed) {
    EXPECT_EQ(Visual("\x80\x81 \x82", VisualScope::WholeText), Heb("אב ג<br>\r\n"));
}

TEST(ToVisual, NothingToConvert) {
    for (std::string text : {std::string(), std::string("abc <b>def</b>")}) {
        const std::string before = text;
        EXPECT_FALSE(conversion::ToVisual(text, {}, VisualScope::WholeText));
        EXPECT_EQ(text, before);
    }
}

TEST(ToVisual, ShortSelectionGetsNoMarks) {
    EXPECT_EQ(Visual(Heb("שלום עולם"), VisualScope::Selection), Heb("םלוע םולש"));
    ConversionSettings paragraph;
    paragraph.AddToHebParagraph = 1;
    EXPECT_EQ(Visual(Heb("שלום עולם"), VisualScope::Selection, paragraph), Heb("\r\nםלוע םולש"));
}

TEST(ToVisual, LongOrManyLineSelectionIsMarked) {
    EXPECT_EQ(Visual(Heb("א\r\nב"), VisualScope::Selection), Heb("א<br>\r\nב<br>\r\n"));
    ConversionSettings narrow;
    narrow.BreakLinesAt = 4;
    EXPECT_EQ(Visual(Heb("אבג דהו"), VisualScope::Selection, narrow),
              Heb("גבא<br>\r\nוהד<br>\r\n"));
}

TEST(ToVisual, RawKeepsOuterSpaceAndBreaksNothing) {
    EXPECT_EQ(Visual(Heb("שלום עולם "), VisualScope::Raw), Heb(" םלוע םולש\r\n"));
}

TEST(ToVisual, TabSettingIsAFlag) {
    ConversionSettings settings;
    settings.RemoveTag = 5;
    EXPECT_EQ(Visual(Heb("א\tב"), VisualScope::WholeText, settings), Heb("ב א<br>\r\n"));
    settings.RemoveTag = 0;
    EXPECT_EQ(Visual(Heb("א\tב"), VisualScope::WholeText, settings), Heb("ב\tא<br>\r\n"));
}

TEST(ToLogical, UndoesTheConversionToVisual) {
    const std::string logical = Heb("שלום עולם, זה טקסט עם abc ומספר 42");
    std::string text = logical;
    ASSERT_TRUE(conversion::ToVisual(text, {}, VisualScope::WholeText));
    conversion::ToLogical(text, {});
    EXPECT_EQ(text, logical);
}

TEST(ToDos, StripsTagsAndRecodes) {
    std::string text = Heb("<p>םולש</p>");
    conversion::ToDos(text);
    EXPECT_EQ(text, std::string(66, ' ') + "\x8D\x85\x8C\x99\r\n");
}

TEST(LowerTagsAndToggle, WorkOnWholeText) {
    std::string text = Heb("<P>םולש</P>");
    conversion::LowerTags(text);
    EXPECT_EQ(text, Heb("<p>םולש</p>"));
    conversion::ToggleSemiLogical(text);
    EXPECT_EQ(text, Heb("<p>שלום</p>"));
}

}  // namespace
