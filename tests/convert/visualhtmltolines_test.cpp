#include <gtest/gtest.h>

#include "common/hebrew.h"
#include "convert/convert.h"

namespace {

std::string Lines(std::string text) {
    CConvert::VisualHtmlToLines(text);
    return text;
}

TEST(VisualHtmlToLines, PageKeepsTitleAndLines) {
    const std::string page =
        Heb("<html><head><title>כותרת</title><script>var a = '<b>';</script></head><body>\r\n"
            "םלוע<br>\r\nםולש<br>\r\n</body></html>");
    EXPECT_EQ(Lines(page), Heb("כותרת\r\nםלוע\r\nםולש\r\n"));
}

TEST(VisualHtmlToLines, TagsAndLineEnds) {
    const struct {
        std::string input;
        std::string expected;
    } cases[] = {
        // A Hebrew passage between tags is one displayed line.
        {Heb("<p>םלוע\r\nםולש</p>"), Heb("םלוע םולש")},
        {Heb("<p>םלוע\nםולש</p>"), Heb("םלוע םולש")},
        // Without a tag after them the source lines stay as they are.
        {Heb("םלוע\r\nםולש"), Heb("םלוע\r\nםולש")},
        // Latin text between tags is not joined.
        {"<p>abc\r\ndef</p>", "abc\r\ndef"},
        {Heb("א<br>\r\n\r\nב"), Heb("א\r\n\r\nב")},
        {Heb("א<BR>ב"), Heb("א\r\nב")},
        {Heb("א<Br>ב"), Heb("אב")},
        {Heb("א</TITLE>ב"), Heb("א\r\nב")},
        {Heb("א</title >ב"), Heb("א\r\nב")},
        {Heb("א<br/>ב"), Heb("אב")},
        {"<p>\r\n\r\n</p>", "\r\n"},
        // A result that is one line end so far gets no second one.
        {"<br>\r\n\r\n", "\r\n"},
        {"", ""},
        {"plain", "plain"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Lines(c.input), c.expected) << c.input;
    }
}

TEST(VisualHtmlToLines, UnclosedTagIsKeptAsText) {
    EXPECT_EQ(Lines(Heb("א<b")), Heb("א<b"));
    EXPECT_EQ(Lines(Heb("x<b>y<z")), Heb("xy<z"));
    EXPECT_EQ(Lines("a>b"), "a>b");
}

TEST(VisualHtmlToLines, Scripts) {
    const struct {
        std::string input;
        std::string expected;
    } cases[] = {
        {"a<script>x</script>b", "ab"},
        {"a<SCRIPT>x</SCRIPT>b", "ab"},
        {"a<script>x</SCRIPT>b", "ab"},
        {"a<SCRIPT>x</script>b", "ab"},
        {"a<script>1</script>b<script>2</script>c", "abc"},
        // A closing tag before the opening one never reaches back.
        {"a<SCRIPT>x</SCRIPT>b<script>y</SCRIPT>c", "abc"},
        {"a</script>b<script>c", "abc"},
        // An opening tag with no closing tag: the tag alone goes.
        {"a<script>b", "ab"},
        // The lower-case block that holds an upper-case block goes whole.
        {"a<script>x<SCRIPT>y</SCRIPT>z</script>b", "ab"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Lines(c.input), c.expected) << c.input;
    }
}

TEST(VisualHtmlToLines, ManyScriptsAndTagsKeepAllText) {
    std::string page;
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        page += "<script>s</script><b>t</b>";
        text += "t";
    }
    EXPECT_EQ(Lines(page), text);
}

}  // namespace
