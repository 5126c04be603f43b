#include <gtest/gtest.h>

#include "convert/textsearch.h"

namespace {

TEST(ReplaceAll, LeftToRightWithoutOverlapOrRescan) {
    const struct {
        std::string text, from, to, expected;
        size_t count;
    } cases[] = {
        {"aaaa", "aa", "b", "bb", 2},
        {"aaa", "aa", "b", "ba", 1},
        {"abab", "ab", "ab", "abab", 2},
        {"xabcabcy", "abc", "", "xy", 2},
        {"aab", "ab", "a", "aa", 1},  // the result "aa" is not searched again
        {"abc", "", "x", "abc", 0},
        {"", "a", "b", "", 0},
        {"aabaabaaab", "aab", "-", "--a-", 3},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(ReplaceAll(text, c.from, c.to), c.count) << c.text;
        EXPECT_EQ(text, c.expected) << c.text;
    }
}

TEST(PatternFinder, FindsRepetitivePatterns) {
    const PatternFinder finder("aaab");
    const std::string text = std::string(10000, 'a') + "b";
    EXPECT_EQ(finder.Find(text), 9997u);
    EXPECT_EQ(finder.Find(text, 9998), std::string::npos);
    EXPECT_EQ(PatternFinder("abcabd").Find("abcabcabd"), 3u);
}

TEST(ChooseLineSeparator, FirstThatOccurs) {
    EXPECT_EQ(ChooseLineSeparator("a\r\r\nb\r\nc"), "\r\r\n");
    EXPECT_EQ(ChooseLineSeparator("a\nb\r\nc"), "\r\n");
    EXPECT_EQ(ChooseLineSeparator("a\nb"), "\n");
    EXPECT_EQ(ChooseLineSeparator("a\rb"), "\r");
    EXPECT_EQ(ChooseLineSeparator("ab"), "\r");
}

}  // namespace
