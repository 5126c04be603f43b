// Runs the built mirval-convert as a user would and checks exit status,
// standard output and standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "cli/clirunner.h"
#include "common/scratchfolder.h"
#include "text/utf8codec.h"

namespace {

const std::string kShalom = "\xF9\xEC\xE5\xED";  // code page 1255
const std::string kVisualShalom = "\xED\xE5\xEC\xF9<br>\r\n";

TEST_F(CliTest, ConvertsInBothEncodings) {
    EXPECT_EQ(Run({"to-visual"}, kShalom).out, kVisualShalom);
    EXPECT_EQ(Run({"to-visual", "--encoding", "utf-8"}, "\u05E9\u05DC\u05D5\u05DD").out,
              "\u05DD\u05D5\u05DC\u05E9<br>\r\n");
    const Outcome lower = Run({"lower-tags"}, "<P ALIGN=RIGHT>x</P>");
    EXPECT_EQ(lower.status, 0);
    EXPECT_EQ(lower.out, "<p align=right>x</p>");
    EXPECT_EQ(lower.err, "");
}

TEST_F(CliTest, DosOutputInUtf8ShowsCodePage862Letters) {
    const Outcome bytes = Run({"to-dos"}, kVisualShalom);
    const Outcome utf8 = Run({"to-dos", "--encoding=utf-8"}, "\u05DD\u05D5\u05DC\u05E9<br>\r\n");
    ASSERT_EQ(utf8.status, 0);
    EXPECT_EQ(utf8.out, Utf8Codec::EncodeDosText(bytes.out));
    EXPECT_NE(utf8.out.find("\u05DD"), std::string::npos) << utf8.out;
}

TEST_F(CliTest, TextWithoutHebrewIsWrittenUnchangedWithANote) {
    const std::string input = "plain <B>text</B>\r\nno letters\xC0";
    const Outcome outcome = Run({"to-visual"}, input);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, input);
    ExpectOneErrorLine(outcome);
}

TEST_F(CliTest, ProfileSettingsApplyAndTheLineWins) {
    const std::string profile = m_folder.File("settings.ini");
    ScratchFolder::Write(profile, "[Settings]\nAddToBrokenLine=<BR/>\nBreakLines=1\n");
    EXPECT_EQ(Run({"to-visual", "--profile", profile}, kShalom).out, "\xED\xE5\xEC\xF9<BR/>\r\n");
    EXPECT_EQ(Run({"to-visual", "--profile", profile, "--break-string", "|"}, kShalom).out,
              "\xED\xE5\xEC\xF9|\r\n");
    EXPECT_EQ(Run({"to-visual", "--break-string=|", "--profile=" + profile}, kShalom).out,
              "\xED\xE5\xEC\xF9|\r\n");

    ScratchFolder::Write(profile, "[Settings]\r\nBreakLines=-1\r\n");
    EXPECT_EQ(Run({"to-visual", "--profile", profile}, kShalom).out.find("<br>"),
              std::string::npos);
    EXPECT_NE(Run({"to-visual", "--profile", profile, "--break-lines"}, kShalom).out.find("<br>"),
              std::string::npos);
}

TEST_F(CliTest, ReadsAFileAndWritesTheOutputFile) {
    const std::string in = m_folder.File("in.txt");
    const std::string out = m_folder.File("out.htm");
    ScratchFolder::Write(in, kShalom);
    ScratchFolder::Write(out, "old contents");
    const Outcome outcome = Run({"to-visual", in, "-o", out});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(ScratchFolder::Read(out), kVisualShalom);
    EXPECT_EQ(Run({"to-visual", "-", "-o" + out}, kShalom + "\r\n" + kShalom).status, 0);
    EXPECT_EQ(ScratchFolder::Read(out), "\xED\xE5\xEC\xF9<br>\r\n\xED\xE5\xEC\xF9<br>\r\n");
}

TEST_F(CliTest, OutputIntoADeviceOrStandardOutputLinkIsWrittenIntoIt) {
    std::filesystem::create_symlink("/dev/stdout", m_folder.File("out-link"));
    for (const bool pipedOutput : {false, true}) {
        for (const std::string& target : {std::string("/dev/stdout"), m_folder.File("out-link")}) {
            SCOPED_TRACE(target + (pipedOutput ? " into a pipe" : " into a file"));
            const Outcome outcome = Run({"to-visual", "-o", target}, kShalom, false, pipedOutput);
            EXPECT_EQ(outcome.status, 0) << outcome.err;
            EXPECT_EQ(outcome.out, kVisualShalom);
            EXPECT_EQ(outcome.err, "");
        }
    }
    EXPECT_TRUE(std::filesystem::is_symlink("/dev/stdout"));
    EXPECT_TRUE(std::filesystem::is_symlink(m_folder.File("out-link")));

    const Outcome null = Run({"to-visual", "-o", "/dev/null"}, kShalom);
    EXPECT_EQ(null.status, 0) << null.err;
    EXPECT_EQ(null.out, "");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_EQ(ScratchFolder::Read("/dev/null"), "");

    // A pipe named as the input is still read: the converter is not the
    // editor, which opens regular files only.
    EXPECT_EQ(Run({"to-visual", "/dev/stdin"}, kShalom, true).out, kVisualShalom);
}

TEST_F(CliTest, ExitStatusNamesTheKindOfFailure) {
    std::filesystem::create_directory(m_folder.File("folder"));
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string message;  // part of the error line
    } cases[] = {
        {{}, "", 1, "no command"},
        {{"tables"}, "", 1, "unknown command 'tables'"},
        {{"to-visual", "--bogus"}, "", 1, "unknown option '--bogus'"},
        {{"to-visual", "--width"}, "", 1, "needs a value"},
        {{"to-visual", "--width", "0"}, "", 1, "--width"},
        {{"to-visual", "--encoding", "latin1"}, "", 1, "--encoding"},
        {{"to-visual", "--keep-tabs=1"}, "", 1, "takes no value"},
        {{"to-visual", "a", "b"}, "", 1, "more than one input file"},
        {{"to-visual", m_folder.File("missing.txt")}, "", 2, "missing.txt"},
        {{"to-visual", m_folder.File("folder")}, "", 2, "folder"},
        {{"to-visual", "--profile", m_folder.File("missing.ini")}, "x", 2, "missing.ini"},
        {{"to-visual", "-o", m_folder.File("folder")}, kShalom, 2, "folder"},
        {{"to-visual", "-o", m_folder.File("no/such/dir.htm")}, kShalom, 2, "dir.htm"},
        {{"toggle", "--encoding", "utf-8"}, "ok\nab\u4E2D", 3, "line 2, column 3: U+4E2D"},
        {{"to-logical", "--encoding", "utf-8"}, "\xC3\x28", 3, "line 1, column 1: invalid UTF-8"},
        {{"to-visual", "--encoding", "utf-8", "--before", "\u4E2D"}, "x", 3, "--before"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Run(c.args, c.input);
        const std::string shown = c.args.empty() ? "(none)" : c.args.back();
        EXPECT_EQ(outcome.status, c.status) << shown;
        EXPECT_EQ(outcome.out, "") << shown;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        ExpectOneErrorLine(outcome);
    }
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.File("folder")));
}

TEST_F(CliTest, HelpAndVersion) {
    EXPECT_EQ(Run({"--version"}).out, "mirval-convert 0.1.0\n");
    const Outcome help = Run({"to-visual", "--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word :
         {"to-visual", "to-logical", "to-dos", "toggle", "lower-tags", "--width",
          "--no-break-lines", "--break-string", "--hebrew-paragraph", "--before", "--after",
          "--keep-tabs", "--two-crlf-para", "--profile", "--encoding", "-o FILE", "Exit status"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
}

TEST_F(CliTest, LargePipedInputIsReadWhole) {
    std::string input;
    std::string expected;
    for (int i = 0; i < 400000; ++i) {
        input += "<P>Line " + std::to_string(i) + " <B>" + kShalom + "</B></P>\r\n";
        expected += "<p>Line " + std::to_string(i) + " <b>" + kShalom + "</b></p>\r\n";
    }
    ASSERT_GT(input.size(), 10u << 20);
    const Outcome outcome = Run({"lower-tags"}, input, true);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.out == expected);
}

TEST_F(CliTest, SpecialCharsFromADefinitionFile) {
    const std::string def = m_folder.File("my.def");
    ScratchFolder::Write(def, "&lt;,&#60;,<\r\n&amp;,,&\r\n");
    const Outcome outcome = Run({"special-chars", "--def", def}, "&lt;a&#60; &amp;lt;");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "<a< &lt;");

    const Outcome missing = Run({"special-chars", "--def", m_folder.File("none.def")}, "x");
    EXPECT_EQ(missing.status, 2);
    ExpectOneErrorLine(missing);
}

}  // namespace
