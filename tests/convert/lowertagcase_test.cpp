#include <gtest/gtest.h>

#include "common/hebrew.h"
#include "convert/convert.h"

namespace {

TEST(LowerTagCase, Cases) {
    const struct {
        std::string input;
        std::string expected;
    } cases[] = {
        {Heb("<P ALIGN=RIGHT>שלום</P>"), Heb("<p align=right>שלום</p>")},
        {"<A HREF='Page.HTM'>", "<a href='page.htm'>"},
        {"ABC <B>DEF</B>", "ABC <b>DEF</b>"},
        {"ABC", "ABC"},
        {"<p>abc</p>", "<p>abc</p>"},
        {"A> <B>", "A> <b>"},
        // An unclosed tag is not a tag: nothing after the last complete one changes.
        {"<B>X<Y", "<b>X<Y"},
        {"<<B>X", "<<b>X"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CConvert::LowerTagCase(c.input), c.expected) << c.input;
    }
}

}  // namespace
