#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/hebrew.h"
#include "convert/conversionchain.h"
#include "convert/convert.h"

namespace {

// The body of a modern page: the page declarations are checked on their own.
std::string Modern(std::string text, ModernPageRules rules = {}) {
    rules.beforeParagraph = "<div align=\"right\">";
    rules.afterParagraph = "</div>";
    CConvert::VisualHtmlToModern(text, rules);
    return text;
}

constexpr std::string_view kDeclared = "<meta charset=\"utf-8\"><div dir=\"rtl\" lang=\"he\">";

TEST(VisualHtmlToModern, Lines) {
    ModernPageRules strip;
    strip.stripParagraphs = true;
    ModernPageRules narrow;
    narrow.width = 14;
    ModernPageRules width16;
    width16.width = 16;
    ModernPageRules width12;
    width12.width = 12;
    ModernPageRules width11;
    width11.width = 11;
    ModernPageRules width40;
    width40.width = 40;
    ModernPageRules width7;
    width7.width = 7;
    ModernPageRules stripNarrow = strip;
    stripNarrow.width = 9;
    const struct {
        const char* what;
        std::string visual;
        std::string body;
        ModernPageRules rules;
    } cases[] = {
        {"tags inside a line go to their logical place",
         Heb("</p>.םלוע םולש<p>\r\n"),
         Heb("<p>שלום עולם.</p>\r\n"),
         {}},
        {"Latin and numbers keep their order",
         Heb("<b>abc def</b> 12 םולש\r\n"),
         Heb("שלום <b>abc def</b> 12\r\n"),
         {}},
        {"a mark ends a line, and is removed",
         Heb("םלוע<br>\r\nםולש<br>\r\n"),
         Heb("עולם\r\nשלום\r\n"),
         {}},
        {"the pieces of one line are joined in reading order",
         Heb("def ןושאר קלח<br>\r\nינש קלח abc<br>\r\n"), Heb("חלק ראשון abc def חלק שני\r\n"),
         narrow},
        {"an author's own <br> stays at the line's end",
         Heb("<br>םולש<br>\r\n"),
         Heb("שלום<br>\r\n"),
         {}},
        {"a quotation mark after a run and its space was an entity",
         Heb("\"םולש\" abc\r\n"),
         Heb("abc &quot;שלום\"\r\n"),
         {}},
        {"a quotation mark that a run would have kept was an entity",
         Heb("\"םולש\" \"abc\" רפס\r\n"),
         Heb("ספר \"abc&quot; \"שלום\"\r\n"),
         {}},
        {"two spaces after a run held a dropped &nbsp;",
         Heb("םולש  abc\r\n"),
         Heb("abc &nbsp; שלום\r\n"),
         {}},
        {"two spaces after a run's final mark held a dropped &nbsp;",
         Heb("םלוע  ;59 םולש\r\n"),
         Heb("שלום 59; &nbsp; עולם\r\n"),
         {}},
        {"entities stay whole", Heb("םלוע ;amp& םולש\r\n"), Heb("שלום &amp; עולם\r\n"), {}},
        {"scripts are kept as written",
         Heb("<script>\r\nvar s = \"םולש\";\r\n</script>\r\nםולש<br>\r\n"),
         Heb("<script>\r\nvar s = \"םולש\";\r\n</script>\r\nשלום\r\n"),
         {}},
        {"paragraph strings stay unless stripped",
         Heb("<div align=\"right\">\r\nםולש<br>\r\n</div>\r\n"),
         Heb("<div align=\"right\">\r\nשלום\r\n</div>\r\n"),
         {}},
        {"paragraph strings stripped", Heb("<div align=\"right\">\r\nםולש<br>\r\n</div>\r\n"),
         Heb("שלום\r\n"), strip},
        {"tags glued before a line by the visual conversion stay before it",
         Heb("</h1><p>םלוע םולש<br>\r\n"),
         Heb("</h1><p>\r\nשלום עולם\r\n"),
         {}},
        {"a title line keeps its tags around it",
         Heb("</title>םולש<title><br>\r\n"),
         Heb("<title>שלום</title>\r\n"),
         {}},
        {"a number keeps its space before a quotation",
         Heb("\"םלוע\"12  םולש\r\n"),
         Heb("שלום 12 \"עולם\"\r\n"),
         {}},
        {"a Latin piece glued to the next line goes back to the end of its line",
         Heb("םולש<br>\r\nabcםלוע<br>\r\n"), Heb("שלום abc\r\nעולם\r\n"), width7},
        {"a Latin last piece before the paragraph's end stays in its line",
         Heb("<div align=\"right\">\r\ndef םולש<br>\r\nabc</div>\r\n</div>\r\n"),
         Heb("שלום abc def\r\n"), stripNarrow},
        {"a Latin line glued before a line stays a line of its own",
         Heb("םולש<br>\r\nabcםלוע<br>\r\n"),
         Heb("שלום\r\nabc\r\nעולם\r\n"),
         {}},
        {"Latin glued to a first piece begins a run that the next piece goes on with",
         Heb("defםלוע<b> םולש<br>\r\nרפס </b> abc<br>\r\n"),
         Heb("שלום <b>עולם</b> abc def ספר\r\n"), width16},
        {"a line cut inside a run of tags keeps the tags at both sides of the cut in it",
         Heb("<i>םלוע<b> םולש<br>\r\n</i>רפס</b> 12<br>\r\nבתכ<br>\r\n"),
         Heb("שלום <b>עולם</b> 12 <i>ספר</i> כתב\r\n"), width16},
        {"with paragraph strings nothing is glued before a line",
         Heb("<div align=\"right\">\r\nabcםולש<br>\r\n</div>\r\n"), Heb("שלוםabc\r\n"), strip},
        {"with paragraph strings tags before a line's first piece stay in it",
         Heb("<div align=\"right\">\r\n<b> םלוע םולש<br>\r\n</div>\r\n"), Heb("שלום עולם <b>\r\n"),
         strip},
        {"a line of white space between paragraphs stays when they are stripped",
         Heb("<div align=\"right\">\r\nםולש<br>\r\n</div>\r\n<div align=\"right\">\r\n"
             "םלוע<br>\r\n</div>\r\n"),
         Heb("שלום\r\n \r\nעולם\r\n"), strip},
        {"a run's own space before its final mark is kept where the cut needed it",
         Heb("והד גבא<br>\r\n\"חז\"37<br>\r\n"), Heb("אבג דהו 37 \"זח\"\r\n"), narrow},
        {"a break string before a stripped paragraph string is the text's own",
         Heb("<div align=\"right\">\r\nםולש<br>\r\n<br></div>\r\n"), Heb("שלום\r\n<br>\r\n"),
         strip},
        {"pieces that as one line would not be cut so are two lines",
         Heb("זוה גבא<br>\r\nחטיכ<br>\r\n"), Heb("אבג הוז\r\nכיטח\r\n"), width12},
        {"tags followed by a space were not glued before a line",
         Heb("</b> םולש<br>\r\n"),
         Heb("שלום </b>\r\n"),
         {}},
        {"a line of tags glued before a long piece with a bracket stays a line of its own",
         Heb("חזוה דגבא<br>\r\n<p>(סנ) לכי טחז<br>\r\n"),
         Heb("אבגד הוזח\r\n<p>\r\nזחט יכל (נס)\r\n"), width12},
        {"a Latin last piece that fits beside the line before is a line of its own",
         Heb("<div align=\"right\">\r\nדגבא<br>\r\nabcd</div>\r\n</div>\r\n"),
         Heb("אבגד\r\nabcd\r\n"), stripNarrow},
        {"tags and Latin glued before a line's first piece end the line before",
         Heb("חזוה דגבא<br>\r\n<b>ab</b>פעס נמל כיט<br>\r\n"),
         Heb("אבגד הוזח <b>ab</b>\r\nטיכ למנ סעפ\r\n"), width12},
        {"tags cut from a run whose counterpart is in the next piece stay in the line",
         Heb("9,366 הז המ ברע ןפ ףכ וח התייה וא םינש<br>\r\n<a href='page.htm'> ךכ<br>\r\n"
             "</b>וא<b> הנש </a>עשיובfeunztc<br>\r\n"),
         Heb("שנים או הייתה חו כף פן ערב מה זה 9,366 כך feunztc <a "
             "href='page.htm'>בוישע</a> שנה <b>או</b>\r\n"),
         width40},
        {"a tag cut at its space joins its pieces",
         Heb("href=x> בא<br>\r\n<b>בא<a<br>\r\n</b>בא</a><br>\r\n"),
         Heb("אב <a href=x>אב</a> <b>אב</b>\r\n"), width11},
        {"a piece one short of the width followed by more of its line begins it",
         Heb("טחז והד גבא<br>\r\nצפע סנמ לכי<br>\r\nשרק<br>\r\n"),
         Heb("אבג דהו זחט\r\nיכל מנס עפצ קרש\r\n"), width12},
        {"a piece as long as the width is a whole line", Heb("יט חזוה דגבא<br>\r\nעסנ מלכ<br>\r\n"),
         Heb("אבגד הוזח טי\r\nכלמ נסע\r\n"), width12},
        {"tags that end one element and start the next begin a line",
         Heb("<p>םלוע םולש<br>\r\n</p><p>רפס<br>\r\n"),
         Heb("<p>\r\nשלום עולם\r\n</p><p>\r\nספר\r\n"), width12},
        {"Latin and numbers before a tag glued to a line's first piece end the line before",
         Heb("חזוה דגבא<br>\r\nab 12<b> נמל כיט<br>\r\n</b>פעסab<br>\r\n"),
         Heb("אבגד הוזח ab 12\r\nטיכ למנ ab <b>סעפ</b>\r\n"), width12},
        {"an element closed before numbers glued to a line's first piece ends the line before",
         Heb("חזוה דגבא<br>\r\n<b>ab</b>34 מנ כיט<br>\r\nפעס<br>\r\n"),
         Heb("אבגד הוזח <b>ab</b>\r\nטיכ נמ 34 סעפ\r\n"), width12},
        {"a run glued inside a word to a line's first piece ends the line before, mark and all",
         Heb("זוה דגבא<br>\r\n?12 abcde נמל כיט<br>\r\nפעס<br>\r\n"),
         Heb("אבגד הוז 12 abc?\r\nטיכ למנ de סעפ\r\n"), width12},
        {"a marked empty line stays an empty line",
         Heb("ב<br>\r\n<br>\r\nא<br>\r\n"),
         Heb("ב\r\n\r\nא\r\n"),
         {}},
    };
    for (const auto& c : cases) {
        ModernPageRules rules = c.rules;
        std::string page = c.visual;
        rules.beforeParagraph = "<div align=\"right\">";
        rules.afterParagraph = "</div>";
        CConvert::VisualHtmlToModern(page, rules);
        EXPECT_EQ(page, std::string(kDeclared) + c.body + "</div>") << c.what;
    }
}

TEST(VisualHtmlToModern, DeclaresThePage) {
    const struct {
        std::string visual;
        std::string modern;
    } cases[] = {
        {Heb("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
             "charset=windows-1255\"></head><body>\r\nםולש\r\n</body></html>"),
         Heb("<html dir=\"rtl\" lang=\"he\"><head><meta charset=\"utf-8\"></head><body>\r\n"
             "שלום\r\n</body></html>\r\n")},
        {Heb("<HTML lang=\"he\"><HEAD><META CHARSET=VISUAL></HEAD>\r\nםולש\r\n"),
         Heb("<HTML dir=\"rtl\" lang=\"he\"><HEAD><meta charset=\"utf-8\"></HEAD>\r\nשלום\r\n")},
        {Heb("<html dir=\"rtl\"><head><title>x</title></head>\r\nםולש\r\n"),
         Heb("<html lang=\"he\" dir=\"rtl\"><head><meta "
             "charset=\"utf-8\"><title>x</title></head>\r\n"
             "שלום\r\n")},
        // The page's head, glued before its first line, stays before it on
        // a line of its own.
        {Heb("<html><head><title>x</title></head><body><h1>ab-ל םולש<br>\r\n"),
         Heb("<html dir=\"rtl\" lang=\"he\"><head><meta charset=\"utf-8\"><title>x</title></head>"
             "<body><h1>\r\nשלום ל-ab\r\n")},
        // A page that declares another charset keeps its declaration.
        {Heb("<meta charset=\"utf-8\"></body>םולש<body>"),
         Heb("<meta charset=\"utf-8\">\r\n<body><div dir=\"rtl\" "
             "lang=\"he\">שלום</div></body>\r\n")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Modern(c.visual), c.modern) << c.visual;
    }
}

// Model: lines of Hebrew words, with single Latin words and numbers among
// them, made visual with random settings come back as the same words in the
// same order. (Two Latin words side by side can make a piece without a
// Hebrew letter inside a line, which the visual conversion glues to the next
// piece without its space: that is lost for good.)
TEST(ToModern, UndoesTheVisualConversion) {
    const std::string hebrew[] = {Heb("שלום"), Heb("עולם"), Heb("ספר"), Heb("מילים"),
                                  Heb("ארוך"), Heb("אב"),   Heb("כתב")};
    std::mt19937 random(15);
    for (int round = 0; round < 500; ++round) {
        std::string logical;
        std::string words;
        const int lines = 1 + static_cast<int>(random() % 4);
        for (int line = 0; line < lines; ++line) {
            const int count = 1 + static_cast<int>(random() % 30);
            bool latin = false;
            for (int w = 0; w < count; ++w) {
                latin = !latin && random() % 6 == 0;
                const std::string word =
                    latin ? std::string(random() % 2 ? "abc" : "12") : hebrew[random() % 7];
                logical += (w > 0 ? " " : "") + word;
                words += word + " ";
            }
            logical += "\r\n";
        }
        ConversionSettings settings;
        settings.BreakLinesAt = 20 + static_cast<int>(random() % 60);
        settings.AddToHebParagraph = static_cast<int>(random() % 2);
        settings.AddToBrokenLine = random() % 2 ? "<br>" : "<BR>\r\n";
        std::string text = logical;
        if (!conversion::ToVisual(text, settings, conversion::VisualScope::WholeText)) {
            continue;  // no Hebrew word was drawn
        }
        ASSERT_TRUE(conversion::ToModern(text, settings, true));
        std::string back;
        const size_t start = text.find("lang=\"he\">") + 10;
        const size_t end = text.rfind("</div>");
        for (char c : text.substr(start, end - start)) {
            if (c == '\r' || c == '\n') {
                c = ' ';
            }
            if (c != ' ' || (!back.empty() && back.back() != ' ')) {
                back.push_back(c);
            }
        }
        EXPECT_EQ(back, words) << logical << " width " << settings.BreakLinesAt;
    }
}

// Model: a page of Hebrew, Latin, numbers, punctuation, tags and entities,
// made visual with random widths, marks and paragraph strings (stripped
// from the modern page), is read back into lines that, made visual again
// with the same settings, give back the very same bytes (where the visual
// rules lost what the page was, the reading is one they allow).
TEST(ToModern, GivesBackTheVisualBytes) {
    const std::string hebrew[] = {Heb("שלום"),   Heb("עולם"), Heb("ספר"),
                                  Heb("מילים"),  Heb("אב"),   Heb("\"כתב\""),
                                  Heb("(ארוך)"), Heb("פה,"),  Heb("זה.")};
    const std::string other[] = {"abc",  "Qwerty",           "12",   "3,456",  "7-8",  "<b>",
                                 "</b>", "<a href='p.htm'>", "</a>", "&nbsp;", "(xy)", "\"q\""};
    std::mt19937 random(42);
    for (int round = 0; round < 300; ++round) {
        std::string logical = "<body>\r\n";
        const int lines = 1 + static_cast<int>(random() % 6);
        for (int line = 0; line < lines; ++line) {
            const int count = static_cast<int>(random() % 25);
            for (int w = 0; w < count; ++w) {
                logical +=
                    (w > 0 ? " " : "") + (random() % 3 != 0 ? hebrew[random() % std::size(hebrew)]
                                                            : other[random() % std::size(other)]);
            }
            logical += "\r\n";
        }
        logical += "</body>\r\n";
        ConversionSettings settings;
        settings.BreakLinesAt = 20 + static_cast<int>(random() % 60);
        settings.AddToBrokenLine = random() % 2 ? "<br>" : "<BR>";
        settings.AddToHebParagraph = static_cast<int>(random() % 2);
        std::string visual = logical;
        if (!conversion::ToVisual(visual, settings, conversion::VisualScope::WholeText)) {
            continue;  // no Hebrew word was drawn
        }
        std::string page = visual;
        ModernPageRules rules;
        rules.breakString = settings.AddToBrokenLine;
        rules.width = settings.BreakLinesAt;
        rules.beforeParagraph = settings.BeforeHebParagraph;
        rules.afterParagraph = settings.AfterHebParagraph;
        rules.stripParagraphs = true;
        CConvert::VisualHtmlToModern(page, rules);
        // What the modern page adds around the body is taken away again.
        const size_t open = page.find("<div dir=\"rtl\" lang=\"he\">");
        ASSERT_NE(open, std::string::npos);
        page.erase(open, 25);
        page.erase(page.rfind("</div>"), 6);
        ASSERT_EQ(page.find("<meta charset=\"utf-8\">"), 0U);
        page.erase(0, 22);
        conversion::ToVisual(page, settings, conversion::VisualScope::WholeText);
        EXPECT_EQ(page, visual) << logical << " width " << settings.BreakLinesAt;
    }
}

}  // namespace
