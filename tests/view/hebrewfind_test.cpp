// The find, replace and link rules of the editor view, without widgets.
#include "view/hebrewfind.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/hebrew.h"
#include "view/viewtext.h"

namespace {

const std::string kWord = Heb("שלום");
const std::string kDrow = Heb("םולש");  // the word as a visual page stores it

// The loop that replace all stands for: replace the next match, search on
// after the inserted text, until nothing is found.
std::string ReplaceLoop(std::string text, size_t from, const std::string& find,
                        const std::string& replace) {
    while (auto match = hebrewfind::FindHebrew(text, from, find)) {
        const std::string replacement = hebrewfind::Replacement(replace, match->typed);
        text.replace(match->position, find.size(), replacement);
        from = match->position + replacement.size();
    }
    return text;
}

TEST(HebrewFindTest, ReplaceAllGivesWhatTheLoopGives) {
    const std::string text =
        kWord + " a " + kDrow + kWord + " " + Heb("םולשםולש") + "\r\n" + Heb("אבא") + " " + kWord;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {kWord, Heb("יום טוב")},  {kWord, "x" + kWord + "y"}, {kWord, ""},
        {Heb("אבא"), Heb("אמא")}, {Heb("ם"), Heb("םם")},      {Heb("ש"), kDrow},
    };
    for (const size_t from : {size_t{0}, size_t{4}}) {
        for (const auto& [find, replace] : cases) {
            const auto result = hebrewfind::ReplaceAllHebrew(text, from, find, replace);
            ASSERT_GT(result.count, 0u) << find;
            EXPECT_EQ(result.text, ReplaceLoop(text, from, find, replace)) << from << find;
        }
    }
    const auto result = hebrewfind::ReplaceAllHebrew(text, 0, kWord, "[" + kWord + "]");
    EXPECT_EQ(result.count, 6u);
    EXPECT_EQ(result.lastStart + result.lastLength, result.text.size());
    EXPECT_EQ(hebrewfind::ReplaceAllHebrew(text, 0, Heb("גגג"), "x").count, 0u);
    EXPECT_EQ(hebrewfind::ReplaceAllHebrew(text, 0, "", "x").count, 0u);
    EXPECT_FALSE(hebrewfind::IsHebrew("abc \x80\x9A\xDF\xFB"));
}

TEST(PlainFindTest, MatchCaseWholeWordAndTheRoundOfASearch) {
    const std::string text = "Table tablet TABLE table_x " + Heb("אtable") + " table.";
    EXPECT_EQ(hebrewfind::FindPlain(text, 0, text.size(), "table", {}), 0u);
    EXPECT_EQ(hebrewfind::FindPlain(text, 0, text.size(), "table", {true, false}), 6u);
    EXPECT_EQ(hebrewfind::FindPlain(text, 1, text.size(), "table", {false, true}), 13u);
    // "_" and Hebrew letters belong to words; "." does not.
    EXPECT_EQ(hebrewfind::FindPlain(text, 14, text.size(), "table", {true, true}), 34u);
    EXPECT_FALSE(hebrewfind::FindPlain(text, 0, 4, "Table", {}));  // must end by the limit

    // A round starts at the caret, wraps once and ends where it started.
    const std::string foo = "foo bar foo baz";
    hebrewfind::PlainSearch search;
    EXPECT_EQ(search.Next(foo, 5, 5, "foo", {}), 8u);
    EXPECT_EQ(search.Next(foo, 8, 11, "foo", {}), 0u);
    EXPECT_FALSE(search.Next(foo, 0, 3, "foo", {}));
    // From a selection: one past its start; the selected one comes last.
    search.Restart();
    EXPECT_EQ(search.Next(foo, 0, 3, "foo", {}), 8u);
    EXPECT_EQ(search.Next(foo, 8, 11, "foo", {}), 0u);
    EXPECT_FALSE(search.Next(foo, 0, 3, "foo", {}));
}

TEST(PlainFindTest, ReplaceAllWrapsAroundAndNeverRescansItsOutput) {
    const std::string text = "ab xab ab abab";
    auto result = hebrewfind::ReplaceAllPlain(text, 5, "ab", "[ab]", {});
    EXPECT_EQ(result.text, "[ab] x[ab] [ab] [ab][ab]");
    EXPECT_EQ(result.lastStart, 6u);  // in search order, the wrapped ones come last
    result = hebrewfind::ReplaceAllPlain(text, 0, "AB", "c", {false, true});
    EXPECT_EQ(result.text, "c xab c abab");
    EXPECT_EQ(hebrewfind::ReplaceAllPlain(text, 0, "AB", "c", {true, false}).count, 0u);
    // Across from, taken on the wrap unless it overlaps a match after.
    EXPECT_EQ(hebrewfind::ReplaceAllPlain("xaay", 2, "aa", "b", {}).text, "xby");
    EXPECT_EQ(hebrewfind::ReplaceAllPlain("aaa", 1, "aa", "b", {}).text, "ab");
}

TEST(ViewTextTest, LinksStopAtQuotesBlanksAndLineEnds) {
    EXPECT_EQ(viewtext::LinkAround("a \"b.htm#x\" c", 5), (viewtext::Range{3, 10}));
    EXPECT_EQ(viewtext::LinkAround("<a href='b.htm'>x", 10), (viewtext::Range{9, 14}));
    EXPECT_EQ(viewtext::LinkTarget("x\r\n..\\up\\p.htm\r\nnext line", 5), "../up/p.htm");
    EXPECT_FALSE(viewtext::LinkTarget("go page.php?a.htm", 5));  // the page is cut off
    EXPECT_FALSE(viewtext::LinkTarget("case.HTM", 2));
    EXPECT_TRUE(viewtext::HoldsDosLetter("abc\x9A"));
    EXPECT_FALSE(viewtext::HoldsDosLetter("abc\x9B\x7F\xE0"));
}

}  // namespace
