// The converter's table command, run as a user runs it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/clirunner.h"
#include "common/hebrew.h"
#include "common/scratchfolder.h"

namespace {

const std::string kTd = "<td align=\"right\" valign=\"top\" nowrap>";

// The table command with the given arguments.
class CliTableTest : public CliTest {
protected:
    Outcome Run(std::vector<std::string> args, const std::string& input = "") {
        args.insert(args.begin(), "table");
        return CliTest::Run(args, input);
    }
};

TEST_F(CliTableTest, TabSeparatedRowsBecomeAVisualTable) {
    const std::string table = "<table border=\"1\">\r\n<tr>" + kTd + Heb("דג") + "</td>" + kTd +
                              Heb("בא") + "</td></tr>\r\n<tr>" + kTd + Heb("חז") + "</td>" + kTd +
                              Heb("וה") + "</td></tr>\r\n<tr>" + kTd + "</td></tr></table>\r\n";
    // LF line ends too; the conversion options do not touch a table.
    for (const char* ends : {"\r\n", "\n"}) {
        const Outcome outcome = Run({"--remove-tabs", "--hebrew-paragraph", "--width=30"},
                                    Heb("אב\tגד") + ends + Heb("הו\tזח") + ends);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, table);
        EXPECT_EQ(outcome.err, "");
    }
    // Tags from the profile, and from the line, which wins; in UTF-8 as well.
    const std::string profile = m_folder.File("mirval.ini");
    ScratchFolder::Write(profile, "[Settings]\r\nTableTag=<table x>\r\nTDTag=<td y>\r\n");
    EXPECT_EQ(
        Run({"--profile", profile, "--tr-tag=<tr>\r\n", "--td-tag", "<td>\t"}, Heb("א\tב")).out,
        Heb("<table x>\r\n<tr>\r\n<td>\tב</td><td>\tא</td></tr>\r\n<tr>\r\n<td>\t</td></tr>"
            "</table>\r\n"));
    EXPECT_EQ(Run({"--encoding", "utf-8", "--table-tag", "<table>", "--td-tag", "<td \u05D0>"},
                  "\u05D0\u05D1\t1\n")
                  .out,
              "<table>\r\n<tr><td \u05D0>1</td><td \u05D0>\u05D1\u05D0</td></tr>\r\n<tr>"
              "<td \u05D0></td></tr></table>\r\n");
    // Without a Hebrew letter: one empty cell, and a note.
    const Outcome numbers = Run({"--td-tag", "<td>"}, "12\t34\r\n");
    EXPECT_EQ(numbers.status, 0);
    EXPECT_EQ(numbers.out, "<table border=\"1\">\r\n<tr><td></td></tr></table>\r\n");
    ExpectOneErrorLine(numbers);
}

TEST_F(CliTableTest, FailuresHaveTheirExitStatusAndHelpNamesTheOptions) {
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string message;
    } cases[] = {
        {{"--td-tag"}, "", 1, "needs a value"},
        {{m_folder.File("missing.txt")}, "", 2, "missing.txt"},
        {{"--encoding", "utf-8"}, "\xFF", 3, "invalid UTF-8"},
        {{"--encoding", "utf-8", "--tr-tag", "\u4E2D"}, Heb("א"), 3, "--tr-tag"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Run(c.args, c.input);
        EXPECT_EQ(outcome.status, c.status) << c.message;
        EXPECT_EQ(outcome.out, "") << c.message;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        ExpectOneErrorLine(outcome);
    }
    const Outcome help = Run({"--help"});
    for (const char* word : {"  table ", "--table-tag S", "--tr-tag S", "--td-tag S"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
}

}  // namespace
