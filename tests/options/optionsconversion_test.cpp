#include "options/optionsconversion.h"

#include <gtest/gtest.h>

#include <QFile>

#include "common/hebrew.h"
#include "framework/localpath.h"

namespace {

QFont Font(const QString& family, double points, int weight = QFont::Normal) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

TEST(ChosenFontTest, HeightIsTenthsOfAPointTimesTwo) {
    const FontSettings former;
    EXPECT_EQ(ChosenFont(former, Font("Arial", 10), {}).Height, 200);
    EXPECT_EQ(ChosenFont(former, Font("Arial", 10.5), {}).Height, 210);
    EXPECT_EQ(ChosenFont(former, Font("Arial", 72), {}).Height, 1440);
    EXPECT_EQ(ChosenFont(former, Font("Arial", 5000), {}).Height, Settings::kMaxFontHeight);

    QFont pixels("Arial");
    pixels.setPixelSize(30);
    FontSettings tall;
    tall.Height = 333;
    EXPECT_EQ(ChosenFont(tall, pixels, {}).Height, 333);
}

TEST(ChosenFontTest, BoldOnlyAtWeight700) {
    for (int weight : {400, 600, 800, 900}) {
        EXPECT_EQ(ChosenFont({}, Font("Arial", 10, weight), {}).Effects & 1, 0) << weight;
    }
    EXPECT_EQ(ChosenFont({}, Font("Arial", 10, 700), {}).Effects, 1);
}

TEST(ChosenFontTest, EffectsAreReplacedAndUnknownBitsKept) {
    FontSettings former;
    former.Effects = 0x10 | 1 | 8;
    QFont font = Font("Arial", 10);
    font.setItalic(true);
    font.setUnderline(true);
    EXPECT_EQ(ChosenFont(former, font, {}).Effects, 0x10 | 2 | 4);
}

TEST(ChosenFontTest, ColourIsStoredBlueGreenRedAndKeptWhenNoneIsGiven) {
    FontSettings former;
    former.Color = 0x8000;
    EXPECT_EQ(ChosenFont(former, Font("Arial", 10), QColor(0x12, 0x34, 0x56)).Color, 0x563412);
    EXPECT_EQ(ChosenFont(former, Font("Arial", 10), QColor()).Color, 0x8000);
}

TEST(ChosenFontTest, FaceIsCodePage1255CutTo31Bytes) {
    EXPECT_EQ(ChosenFont({}, Font(QString::fromUtf8("דוד"), 10), {}).Face, Heb("דוד"));
    const std::string face = ChosenFont({}, Font(QString(40, QLatin1Char('x')), 10), {}).Face;
    EXPECT_EQ(face, std::string(FontSettings::kMaxFaceLength, 'x'));
}

TEST(ChosenFontTest, AFontShownAndChosenUnchangedStaysTheSame) {
    const FontSettings fonts[] = {
        {},
        {"DejaVu Sans", 15, 0x563412, 210},
        {Heb("דוד"), 1 | 4, 0xFFFFFF, 480},
    };
    for (const FontSettings& font : fonts) {
        EXPECT_EQ(ChosenFont(font, FontOf(font), ColourOf(font)), font) << font.Face;
    }
}

TEST(SampleTextTest, FaceAndWholePoints) {
    FontSettings font;
    EXPECT_EQ(SampleText(font), QStringLiteral("\u2068Arial\u2069, 10"));
    font.Height = 219;
    EXPECT_EQ(SampleText(font), QStringLiteral("\u2068Arial\u2069, 10"));
    font.Height = 220;
    font.Face = Heb("דוד");
    EXPECT_EQ(SampleText(font), QString::fromUtf8("\u2068דוד\u2069, 11"));
}

TEST(ParseWholeNumberTest, OnlyWholeNumbersInRange) {
    EXPECT_EQ(ParseWholeNumber("30", 30, 200), 30);
    EXPECT_EQ(ParseWholeNumber(" 200 ", 30, 200), 200);
    EXPECT_EQ(ParseWholeNumber("0", 0, 100), 0);
    for (const char* refused : {"29", "201", "", "abc", "7x", "1.5", "99999999999"}) {
        EXPECT_FALSE(ParseWholeNumber(refused, 30, 200)) << refused;
    }
}

TEST(ProfileTextTest, BytesComeBackUnchanged) {
    const std::string tag = Heb("<div title=\"שלום\">\x80\xFF");
    EXPECT_TRUE(TextFromProfile(tag).contains(QString::fromUtf8("שלום")));
    EXPECT_EQ(TextToProfile(TextFromProfile(tag)), tag);

    const QString path = QString::fromUtf8("/opt/דפדפן/run");
    EXPECT_EQ(LocalPath(path), QFile::encodeName(path).toStdString());
    EXPECT_EQ(PathFromLocal(LocalPath(path)), path);
}

}  // namespace

namespace {

// The font dialog opens on the stored face (or its metric-compatible
// installed stand-in), size and style; confirming it unchanged keeps them.
TEST(ChosenFontTest, DialogOpensOnTheStoredFontOrItsStandIn) {
    const struct {
        const char* face;
        const char* shown;
    } cases[] = {{"Arial", "Liberation Sans"},
                 {"Times New Roman", "Liberation Serif"},
                 {"Courier New", "Liberation Mono"},
                 {"DejaVu Sans", "DejaVu Sans"}};
    for (const auto& c : cases) {
        const FontSettings stored{c.face, 1 | 2, 0x8000, 240};
        const QFont shown = FontForDialog(stored);
        EXPECT_EQ(shown.family(), QString::fromLatin1(c.shown)) << c.face;
        EXPECT_EQ(shown.pointSizeF(), 12) << c.face;
        EXPECT_EQ(shown.weight(), QFont::Bold) << c.face;
        EXPECT_TRUE(shown.italic()) << c.face;
        EXPECT_EQ(ChosenFont(stored, shown, ColourOf(stored)), stored) << c.face;
    }
}

}  // namespace
