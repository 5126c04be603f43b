#include "framework/profile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "common/scratchfolder.h"

namespace {

class IniProfileTest : public ::testing::Test {
protected:
    ScratchFolder m_folder;
    IniProfile m_profile;
};

TEST_F(IniProfileTest, ValuesAreRawBytesAfterTheEqualsSignAndSurviveASave) {
    const std::string value = " \"quoted\" \xE0\xE1 \\n ; [x] = ";
    ScratchFolder::Write(m_folder.File("p.ini"), "[Settings]\n  Spaced Key  = <br> \nEmpty=\n");
    ASSERT_TRUE(m_profile.Load(m_folder.File("p.ini")));
    EXPECT_EQ(m_profile.GetString("SETTINGS", "spaced key", ""), " <br> ");
    EXPECT_EQ(m_profile.GetString("Settings", "Empty", "default"), "");
    EXPECT_EQ(m_profile.GetString("Missing", "Empty", "default"), "default");
    ASSERT_TRUE(m_profile.WriteString("Settings", "Tag", value));
    ASSERT_TRUE(m_profile.WriteInt("settings", "Flag", -1));
    ASSERT_TRUE(m_profile.Save()) << m_profile.LastError();
    EXPECT_EQ(ScratchFolder::Read(m_folder.File("p.ini")),
              "[Settings]\r\n  Spaced Key  = <br> \r\nEmpty=\r\nTag=" + value + "\r\nFlag=-1\r\n");
    IniProfile again;
    ASSERT_TRUE(again.Load(m_folder.File("p.ini")));
    EXPECT_EQ(again.GetString("settings", "TAG", ""), value);
    EXPECT_EQ(again.GetInt("Settings", "Flag", 1), -1);
}

TEST_F(IniProfileTest, GetIntTakesOnlyWholeNumbersInRange) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {{"70", 70},
                 {" -1\t", -1},
                 {"+5", 5},
                 {"2147483647", INT_MAX},
                 {"-2147483648", INT_MIN},
                 {"2147483648", 42},
                 {"", 42},
                 {"12abc", 42},
                 {"1.5", 42},
                 {"+-1", 42}};
    for (const auto& c : cases) {
        m_profile.Parse(std::string("[S]\nN=") + c.text + "\n");
        EXPECT_EQ(m_profile.GetInt("S", "N", 42), c.expected) << '"' << c.text << '"';
    }
    EXPECT_EQ(m_profile.GetInt("S", "Absent", 7), 7);
}

TEST_F(IniProfileTest, ReadsUntidyFilesAndKeepsTheirLines) {
    m_profile.Parse(
        "\xEF\xBB\xBF"
        "loose=before any section\n"
        "; a comment\n"
        "[General]\n"
        "garbage line without equals\n"
        "=no key\n"
        "[broken section\n"
        "ShowSyntax=1\n"
        "showsyntax=2\n"
        "\n"
        "  [ Fonts ]  \n"
        "Face=Arial\n"
        "[general]\n"
        "ShowSyntax=3\n"
        "Tail=no line end");
    EXPECT_EQ(m_profile.GetInt("General", "ShowSyntax", 0), 1);  // first occurrence wins
    EXPECT_EQ(m_profile.GetString("Fonts", "Face", ""), "Arial");
    EXPECT_EQ(m_profile.GetString("General", "Tail", "absent"), "absent");
    EXPECT_FALSE(m_profile.HasValue("", "loose"));

    ASSERT_TRUE(m_profile.WriteInt("GENERAL", "ShowSyntax", 0));
    ASSERT_TRUE(m_profile.WriteString("general", "New", "x"));
    EXPECT_EQ(m_profile.ToBytes(),
              "\xEF\xBB\xBF"
              "loose=before any section\r\n"
              "; a comment\r\n"
              "[General]\r\n"
              "garbage line without equals\r\n"
              "=no key\r\n"
              "[broken section\r\n"
              "ShowSyntax=0\r\n"
              "showsyntax=2\r\n"
              "New=x\r\n"
              "\r\n"
              "  [ Fonts ]  \r\n"
              "Face=Arial\r\n"
              "[general]\r\n"
              "ShowSyntax=3\r\n"
              "Tail=no line end\r\n");
}

TEST_F(IniProfileTest, RejectsNamesAndValuesTheFileCannotHold) {
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {{"a]b", "k", "v"}, {"a\nb", "k", "v"},     {" s", "k", "v"}, {"s", "", "v"},
                 {"s", "k=1", "v"}, {"s", " k", "v"},       {"s", "[k", "v"}, {"s", ";k", "v"},
                 {"s", "k\r", "v"}, {"s", "k", "v\r\nx=1"}, {"s", "k", "v\n"}};
    for (const auto& c : cases) {
        EXPECT_FALSE(m_profile.WriteString(c.section, c.key, c.value)) << c.section << c.key;
    }
    EXPECT_EQ(m_profile.ToBytes(), "");
}

TEST_F(IniProfileTest, MissingFileIsEmptyButAnUnreadableOneFails) {
    m_profile.Parse("[S]\nK=1\n");
    ASSERT_TRUE(m_profile.Load(m_folder.File("absent.ini")));
    EXPECT_FALSE(m_profile.HasValue("S", "K"));

    m_profile.Parse("[S]\nK=1\n");
    EXPECT_FALSE(m_profile.Load(m_folder.Path().string()));  // a folder
    EXPECT_NE(m_profile.LastError(), "");
    EXPECT_EQ(m_profile.GetInt("S", "K", 0), 1);  // previous contents kept
}

TEST_F(IniProfileTest, AFifoProfileIsUnreadableAtOnce) {
    const std::string fifo = m_folder.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    m_profile.Parse("[S]\nK=1\n");
    ::alarm(20);  // a load that waits for a writer ends the test program, failing it
    EXPECT_FALSE(m_profile.Load(fifo));
    ::alarm(0);
    EXPECT_NE(m_profile.LastError().find("fifo.ini"), std::string::npos);
    EXPECT_EQ(m_profile.GetInt("S", "K", 0), 1);  // previous contents kept
}

TEST_F(IniProfileTest, SaveCreatesFoldersAndAFailedSaveKeepsTheOldFile) {
    ASSERT_TRUE(m_profile.Load(m_folder.File("a/b/mirval.ini")));
    m_profile.WriteInt("S", "K", 1);
    ASSERT_TRUE(m_profile.Save()) << m_profile.LastError();
    EXPECT_EQ(ScratchFolder::Read(m_folder.File("a/b/mirval.ini")), "[S]\r\nK=1\r\n");

    // The target is a folder: the rename fails whoever runs the test.
    std::filesystem::create_directory(m_folder.File("dir.ini"));
    m_profile.SetPath(m_folder.File("dir.ini"));
    EXPECT_FALSE(m_profile.Save());
    EXPECT_NE(m_profile.LastError().find("dir.ini"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.File("dir.ini")));

    IniProfile noPath;
    EXPECT_FALSE(noPath.Save());
}

TEST_F(IniProfileTest, DefaultPathFollowsTheEnvironment) {
    // The fixture's folder set MIRVAL_PROFILE; the other variables are the test's own.
    const std::string named = std::getenv("MIRVAL_PROFILE");
    ::setenv("HOME", "/h", 1);
    ::setenv("XDG_CONFIG_HOME", "/x", 1);
    EXPECT_EQ(IniProfile::DefaultPath(), named);
    ::setenv("MIRVAL_PROFILE", "", 1);
    EXPECT_EQ(IniProfile::DefaultPath(), "/x/mirval/mirval.ini");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(IniProfile::DefaultPath(), "/h/.config/mirval/mirval.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(IniProfile::DefaultPath(), "/h/.config/mirval/mirval.ini");
    ::setenv("MIRVAL_PROFILE", named.c_str(), 1);
}

}  // namespace
