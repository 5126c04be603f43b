#include <gtest/gtest.h>

#include "common/hebrew.h"
#include "convert/convert.h"

namespace {

std::string Toggle(std::string text) {
    CConvert::ToggleSemiLogical(text);
    return text;
}

TEST(ToggleSemiLogical, Cases) {
    const struct {
        std::string input;
        std::string expected;
    } cases[] = {
        {Heb("<p>םלוע םולש</p>"), Heb("<p>שלום עולם</p>")},
        {Heb("<p>שלום עולם</p>"), Heb("<p>םלוע םולש</p>")},
        {Heb("טסקט הז<br>\r\nםלוע&nbsp;םולש<br>"), Heb("זה טקסט<br>\r\nשלום&nbsp;עולם<br>")},
        {Heb("<p>םולש abc def</p>"), Heb("<p>abc def שלום</p>")},
        {Heb("<p>abc def שלום</p>"), Heb("<p>abc def םולש</p>")},
        // Plain text at the start is a segment even without Hebrew.
        {Heb("Hello <b>שלום</b> x"), Heb(" Hello<b>םולש</b> x")},
        // A Hebrew attribute value: the rest of the tag is turned with it.
        {Heb("<img alt=\"אב\">x<b>"), Heb("<img alt=\"x>\"בא<b>")},
        {Heb("שלום\r\nעולם"), Heb("םלוע\n\rםולש")},
        // Points are dropped; what follows still lines up.
        {Heb("<p>ש\xC8ל</p><b>x</b>"), Heb("<p>לש</p><b>x</b>")},
        {Heb("<p>א\x85</p>"), Heb("<p>...א</p>")},
        // A segment starts at its Hebrew letter, so a bracket before it stays put.
        {Heb("<p>(א)</p>"), Heb("<p>((א</p>")},
        {"<p>abc</p>", "<p>abc</p>"},
        {"abc", "abc"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Toggle(c.input), c.expected) << c.input;
    }
}

TEST(ToggleSemiLogical, TwiceRestoresPlainSegments) {
    const std::string pages[] = {
        Heb("<p>שלום עולם</p>\r\n<p>זה טקסט</p>"),
        Heb("<div>שורה&nbsp;אחת<br>\r\nשורה שנייה</div>"),
        Heb("<b>שלום\r\nעולם</b>"),
    };
    for (const std::string& page : pages) {
        EXPECT_EQ(Toggle(Toggle(page)), page);
    }
}

}  // namespace
