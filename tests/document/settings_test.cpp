#include "document/settings.h"

#include <gtest/gtest.h>

#include <set>

#include "common/scratchfolder.h"
#include "framework/profile.h"

namespace {

const std::string kQuote = "\"";

class SettingsTest : public ::testing::Test {
protected:
    ScratchFolder m_folder;
    IniProfile m_profile;
};

TEST_F(SettingsTest, EmptyProfileGivesTheDefaultsWithComposedTags) {
    const DocumentSettings s = Settings::Load(m_profile);
    EXPECT_EQ(s, DocumentSettings{});
    EXPECT_EQ(s.Conversion.BeforeHebParagraph, "<div align=" + kQuote + "right" + kQuote + ">");
    EXPECT_EQ(s.Table.TableTag, "<table border=" + kQuote + "1" + kQuote + ">");
    EXPECT_EQ(s.Table.TDTag, "<td align=" + kQuote + "right" + kQuote + " valign=" + kQuote +
                                 "top" + kQuote + " nowrap>");
}

TEST_F(SettingsTest, RegistryDefaultsAgreeWithTheRecords) {
    DocumentSettings defaults;
    std::set<std::string_view> names;
    for (const auto& entry : Settings::Registry()) {
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
        EXPECT_EQ(entry.section, "Settings");
        if (entry.type == SettingType::String) {
            EXPECT_EQ(entry.stringField(defaults), entry.stringDefault) << entry.name;
        } else {
            EXPECT_EQ(entry.intField(defaults), entry.intDefault) << entry.name;
        }
    }
    EXPECT_EQ(names.size(), 25u);
}

// The options sheet asks the registry for its bounds by value name: every
// name finds its own entry's check, the defaults pass their checks, and the
// sheet never takes a number the profile reader would refuse.
TEST_F(SettingsTest, EveryEntryCarriesACheckItsDefaultPasses) {
    const auto within = [](IntRange inner, IntRange outer) {
        return inner.min >= outer.min && inner.max <= outer.max;
    };
    const auto verify = [&](const auto& entry, const SettingCheck& found) {
        EXPECT_EQ(&found, &entry.check) << entry.name;
        EXPECT_TRUE(within(entry.check.entered, entry.check.stored)) << entry.name;
        if (entry.type == SettingType::String) {
            EXPECT_LE(entry.stringDefault.size(), entry.check.maxLength) << entry.name;
        } else {
            EXPECT_TRUE(entry.check.Accepts(entry.intDefault)) << entry.name;
        }
    };
    for (const auto& entry : Settings::Registry()) {
        verify(entry, Settings::CheckOf(entry.name));
    }
    for (const auto& entry : Settings::FontRegistry()) {
        verify(entry, Settings::FontCheckOf(entry.name));
    }
    EXPECT_TRUE(Settings::CheckOf("NoSuchValue").Accepts(-12345));
}

TEST_F(SettingsTest, MinusOneReadsAsOffForTheEncodedFlagsOnly) {
    const struct {
        const char* name;
        int expected;
    } cases[] = {{"AddToHebParagraph", 0}, {"2CRLFPara", 0},     {"ConvertDisplay", 0},
                 {"ImageDisplay", 0},      {"TableDisplay", 0},  {"BreakLines", 0},
                 {"RemoveTag", 0},         {"ImageWidth", 0},    {"ImageHeight", 0},
                 {"ImageBorder", 0},       {"BrowseDisplay", 0}, {"BrowseExternal", -1},
                 {"ImageAlt", -1},         {"BreakLinesAt", -1}, {"ImageBValue", -1}};
    for (const auto& c : cases) {
        m_profile.Parse(std::string("[Settings]\r\n") + c.name + "=-1\r\n");
        DocumentSettings s = Settings::Load(m_profile);
        for (const auto& entry : Settings::Registry()) {
            if (entry.name == c.name) {
                EXPECT_EQ(entry.intField(s), c.expected) << c.name;
            }
        }
    }
    m_profile.Parse("[Settings]\n2CRLFPara=1\nBreakLinesAt=12x\nTDTag=<td>\n");
    const DocumentSettings s = Settings::Load(m_profile);
    EXPECT_EQ(s.Conversion.TwoCRLFPara, 1);
    EXPECT_EQ(s.Conversion.BreakLinesAt, 70);  // not a number: the default
    EXPECT_EQ(s.Table.TDTag, "<td>");
}

TEST_F(SettingsTest, SettersTakeMinusOneAsOff) {
    ConversionSettings conversion;
    conversion.BreakLines = conversion.BreakLinesAt = -1;
    Settings::TakeMinusOneAsOff(conversion);
    EXPECT_EQ(conversion.BreakLines, 0);
    EXPECT_EQ(conversion.BreakLinesAt, -1);
    BrowseSettings browse;
    browse.BrowseDisplay = browse.BrowseExternal = -1;
    Settings::TakeMinusOneAsOff(browse);
    EXPECT_EQ(browse.BrowseDisplay, 0);
    EXPECT_EQ(browse.BrowseExternal, -1);
}

TEST_F(SettingsTest, SaveWritesInOrderOffAsMinusOneAndNeverTheHandSetFlags) {
    DocumentSettings s;
    s.Conversion.BreakLines = 0;
    s.Table.TableDisplay = 0;
    s.Image.ImageWidth = 0;
    s.Browse.BrowseDisplay = 0;
    s.Image.ImageAlt = 1;
    s.Image.ImageTitle = 1;
    s.Image.ImageId = 1;
    Settings::Save(s, m_profile);
    // clang-format off
    EXPECT_EQ(m_profile.ToBytes(), "[Settings]\r\n"
        "AddToHebParagraph=-1\r\n" "2CRLFPara=-1\r\n" "ConvertDisplay=1\r\n" "ImageDisplay=1\r\n"
        "TableTag=<table border=\"1\">\r\n" "TRTag=<tr>\r\n"
        "TDTag=<td align=\"right\" valign=\"top\" nowrap>\r\n" "TableDisplay=-1\r\n"
        "BeforeHebParagraph=<div align=\"right\">\r\n" "AfterHebParagraph=</div>\r\n"
        "BreakLinesAt=70\r\n" "BreakLines=-1\r\n" "AddToBrokenLine=<br>\r\n" "RemoveTag=1\r\n"
        "ImageWidth=-1\r\n" "ImageHeight=1\r\n" "ImageBorder=1\r\n" "ImageBValue=0\r\n"
        "BrowseMeta=<meta charset='visual'>\r\n" "BrowseDisplay=0\r\n" "BrowseFile=\r\n"
        "BrowseExternal=0\r\n");
    // clang-format on
}

TEST_F(SettingsTest, SavedSettingsLoadBackAndHandSetFlagsSurvive) {
    m_profile.Parse("[Settings]\r\nImageAlt=1\r\n");
    DocumentSettings s = Settings::Load(m_profile);
    EXPECT_EQ(s.Image.ImageAlt, 1);
    s.Conversion.BreakLinesAt = 45;
    s.Conversion.AddToBrokenLine = "<BR>\xF9";
    s.Conversion.RemoveTag = 0;
    s.Table.TRTag = "<tr class=\"x\">";
    s.Browse.BrowseExternal = 1;
    s.Browse.BrowseFile = "/usr/bin/firefox";
    s.Image.ImageAlt = 0;  // not written: the profile keeps 1
    ASSERT_TRUE(m_profile.Load(m_folder.File("p.ini")));
    m_profile.Parse("[Settings]\r\nImageAlt=1\r\n");
    Settings::Save(s, m_profile);
    ASSERT_TRUE(m_profile.Save());

    IniProfile again;
    ASSERT_TRUE(again.Load(m_folder.File("p.ini")));
    DocumentSettings back = Settings::Load(again);
    EXPECT_EQ(back.Image.ImageAlt, 1);
    back.Image.ImageAlt = 0;
    EXPECT_EQ(back, s);
}

TEST_F(SettingsTest, FontsGetSectionDefaultsAndChecks) {
    EXPECT_EQ(Settings::LoadFont(m_profile, "RegFont"), FontSettings{});
    EXPECT_EQ(Settings::LoadFont(m_profile, "CodeFont"), (FontSettings{"Arial", 0, 0x8000, 200}));
    // The colour default compares the name byte for byte.
    EXPECT_EQ(Settings::LoadFont(m_profile, "regfont").Color, 0x8000);

    const std::string longFace(40, 'F');
    const struct {
        const char* height;
        int expected;
    } heights[] = {{"32760", 32760}, {"0", 200}, {"32761", 200}};
    for (const auto& h : heights) {
        m_profile.Parse("[CodeFont]\nFace=" + longFace + "\nColor=255\nHeight=" + h.height + "\n");
        const FontSettings font = Settings::LoadFont(m_profile, "CodeFont");
        EXPECT_EQ(font.Height, h.expected) << h.height;
        EXPECT_EQ(font.Face, longFace.substr(0, 31));
        EXPECT_EQ(font.Color, 255);
    }

    const FontSettings written{"David", 3, 0xFF00, 240};
    m_profile.Parse("");
    Settings::SaveFont(written, "RegFont", m_profile);
    EXPECT_EQ(m_profile.ToBytes(),
              "[RegFont]\r\nFace=David\r\nEffects=3\r\nColor=65280\r\nHeight=240\r\n");
    EXPECT_EQ(Settings::LoadFont(m_profile, "RegFont"), written);
}

TEST_F(SettingsTest, ShowSyntaxLivesInGeneral) {
    EXPECT_EQ(Settings::LoadGeneral(m_profile).ShowSyntax, 0);
    Settings::SaveGeneral(GeneralSettings{1}, m_profile);
    EXPECT_EQ(m_profile.ToBytes(), "[General]\r\nShowSyntax=1\r\n");
    EXPECT_EQ(Settings::LoadGeneral(m_profile).ShowSyntax, 1);
}

}  // namespace
