#include <gtest/gtest.h>

#include "convert/specialchars.h"

namespace {

std::string Replace(std::string text, std::string_view definitions) {
    specialchars::Replace(text, definitions);
    return text;
}

TEST(SpecialChars, DefinitionLines) {
    const struct {
        const char* definitions;
        const char* text;
        const char* expected;
    } cases[] = {
        {"A,B,C", "xAyBz", "xCyCz"},
        {"A,,C", "xAyBz", "xCyBz"},
        {",B,C", "xAyBz", "xAyCz"},
        {"A,B", "xAyBz", "xAyBz"},  // no replacement: nothing happens
        {"A,B,", "xAyBz", "xAyBz"},
        {"A,B,C,D", "xAyBz", "xCyCz"},  // a fourth field is ignored
        {"A , B,C", "A , B", "C,C"},    // spaces belong to the fields
        {" A,,C ", "x A", "xC "},
        {"", "A", "A"},
        // Lines apply in order, each to the result of the ones before.
        {"&amp;,,&\r\n&lt;,,<", "&amp;lt;", "<"},
        {"&lt;,,<\r\n&amp;,,&", "&amp;lt;", "&lt;"},
        // Replaced text is not searched again by the same line.
        {"aa,,a", "aaaa", "aa"},
        {"a,,aa", "aa", "aaaa"},
        {"x,,y\ny,,z", "x", "z"},  // LF line ends too
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Replace(c.text, c.definitions), c.expected) << c.definitions;
    }
}

TEST(SpecialChars, NextDefField) {
    std::string line = "a,b,,c";
    EXPECT_EQ(specialchars::NextDefField(line), "a");
    EXPECT_EQ(specialchars::NextDefField(line), "b");
    EXPECT_EQ(specialchars::NextDefField(line), "");
    EXPECT_EQ(specialchars::NextDefField(line), "c");
    EXPECT_EQ(line, "");
    EXPECT_EQ(specialchars::NextDefField(line), "");
}

}  // namespace
