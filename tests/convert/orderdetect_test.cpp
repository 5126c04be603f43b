#include <gtest/gtest.h>

#include "common/hebrew.h"
#include "convert/conversionchain.h"
#include "convert/orderdetect.h"

namespace {

using orderdetect::DetectOrder;
using orderdetect::OrderEvidence;
using orderdetect::OrderFromCounts;
using orderdetect::TextOrder;

// Six logical words ending in a final form, and the same words reversed.
}  // namespace

namespace orderdetect {
void PrintTo(const OrderEvidence& e, std::ostream* os) {
    *os << OrderName(e.order) << " " << e.finalFirst << ":" << e.finalLast
        << (e.metaVisual ? " meta" : "");
}
}  // namespace orderdetect

namespace {

const std::string kLogical = Heb("שלום עולם ילדים גן מלך חוץ");
const std::string kVisual = Heb("םולש םלוע םידלי ןג ךלמ ץוח");

struct Case {
    const char* name;
    std::string text;
    OrderEvidence expected;
};

TEST(DetectOrder, CountsAndMetaRules) {
    const Case cases[] = {
        {"empty", "", {TextOrder::Unknown, 0, 0, false}},
        {"logical words", kLogical, {TextOrder::Logical, 0, 6, false}},
        {"visual words", kVisual, {TextOrder::Visual, 6, 0, false}},
        // Words without final letters, one-letter words and words with a
        // final form at both ends are no evidence; nor is a final form inside.
        {"no evidence", Heb("אבג ם ן ך םם ץוץ אםב ו ה"), {TextOrder::Unknown, 0, 0, false}},
        // Tags and what is inside them are not text; a tag ends a word.
        {"tags ignored",
         Heb("<p title='םולש םולש םולש םולש םולש םולש'>") + kLogical + Heb("</p>"),
         {TextOrder::Logical, 0, 6, false}},
        {"tag splits a word", Heb("ם<b>של ם</b>של"), {TextOrder::Unknown, 0, 0, false}},
        // Points inside a word do not end it; maqaf does.
        {"points", Heb("ש\xC8ל\xCBום"), {TextOrder::Unknown, 0, 1, false}},
        {"maqaf", Heb("בית\xCEספר"), {TextOrder::Unknown, 0, 0, false}},
        // A "<" that opens no tag, or whose tag never closes, is text.
        {"lone less-than", Heb("ם < ") + kVisual + "<b", {TextOrder::Visual, 6, 0, false}},
        // A visual charset makes a page visual, unless its letters say
        // logical (a template's head on the text still to be converted).
        {"meta visual", "<META CHARSET=\"Visual\">" + kVisual, {TextOrder::Visual, 6, 0, true}},
        {"meta visual, few letters",
         "<meta charset=visual>" + Heb("שלום"),
         {TextOrder::Visual, 0, 1, true}},
        {"meta visual on logical text",
         "<meta charset='visual'>" + kLogical,
         {TextOrder::Logical, 0, 6, true}},
        {"meta iso-8859-8",
         "<meta http-equiv='Content-Type' content='text/html; charset=iso-8859-8'>",
         {TextOrder::Visual, 0, 0, true}},
        {"meta hebrew label", "<meta charset=hebrew/>", {TextOrder::Visual, 0, 0, true}},
        // Logical-only and neutral charsets leave it to the letters.
        {"meta iso-8859-8-i",
         "<meta charset='iso-8859-8-i'>" + kVisual,
         {TextOrder::Visual, 6, 0, false}},
        {"meta windows-1255",
         "<meta http-equiv=Content-Type content=\"text/html; charset=windows-1255\">" + kLogical,
         {TextOrder::Logical, 0, 6, false}},
        {"meta utf-8", "<meta charset=\"utf-8\">", {TextOrder::Unknown, 0, 0, false}},
        // The first declaration is the one a browser takes.
        {"first meta wins",
         "<meta charset=windows-1255><meta charset=visual>",
         {TextOrder::Unknown, 0, 0, false}},
        {"not a meta tag", "<metadata charset=visual>", {TextOrder::Unknown, 0, 0, false}},
        {"charset in text", "charset=visual", {TextOrder::Unknown, 0, 0, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DetectOrder(c.text), c.expected) << c.name;
    }
}

TEST(DetectOrder, ThresholdsOfTheCountingRule) {
    const size_t m = orderdetect::kOrderThresholds.minWords;
    const size_t r = orderdetect::kOrderThresholds.ratio;
    ASSERT_GE(m, 1u);
    ASSERT_GE(r, 2u);
    const struct {
        size_t first;
        size_t last;
        TextOrder expected;
    } cases[] = {
        {0, 0, TextOrder::Unknown},     {m - 1, 0, TextOrder::Unknown},
        {m, 0, TextOrder::Visual},      {0, m, TextOrder::Logical},
        {r * m, m, TextOrder::Visual},  {r * m - 1, m, TextOrder::Unknown},
        {m, r * m, TextOrder::Logical}, {m, r * m - 1, TextOrder::Unknown},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OrderFromCounts(c.first, c.last), c.expected) << c.first << ":" << c.last;
    }
    // The starting point, 5 and three times, as explicit thresholds.
    EXPECT_EQ(OrderFromCounts(5, 1, {5, 3}), TextOrder::Visual);
    EXPECT_EQ(OrderFromCounts(4, 0, {5, 3}), TextOrder::Unknown);
    EXPECT_EQ(OrderFromCounts(5, 2, {5, 3}), TextOrder::Unknown);
}

// The program's own conversion turns a logical page into one detected visual,
// and back.
TEST(DetectOrder, FollowsTheConversions) {
    std::string text;
    for (int i = 0; i < 10; ++i) {
        text += kLogical + Heb(" abc <b>דבר</b> 12.\r\n");
    }
    EXPECT_EQ(DetectOrder(text).order, TextOrder::Logical);
    ASSERT_TRUE(conversion::ToVisual(text, {}, conversion::VisualScope::WholeText));
    EXPECT_EQ(DetectOrder(text), (OrderEvidence{TextOrder::Visual, 60, 0, false}));
    conversion::ToLogical(text, {});
    EXPECT_EQ(DetectOrder(text), (OrderEvidence{TextOrder::Logical, 0, 60, false}));
}

}  // namespace
