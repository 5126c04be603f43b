// mirval-convert detect: one line per file, verdicts never change the status.
#include <gtest/gtest.h>

#include <string>

#include "cli/clirunner.h"
#include "common/hebrew.h"
#include "common/scratchfolder.h"

namespace {

const std::string kLogical = Heb("שלום עולם ילדים גן מלך חוץ abc\r\n");

TEST_F(CliTest, DetectWritesOneLinePerFile) {
    std::string visual = Heb("םולש םלוע םידלי ןג ךלמ ץוח<br>\r\n");
    ScratchFolder::Write(m_folder.File("logical.txt"), kLogical);
    ScratchFolder::Write(m_folder.File("visual page.htm"), visual);
    ScratchFolder::Write(m_folder.File("meta.htm"), "<meta charset=visual><p>abc</p>");
    ScratchFolder::Write(m_folder.File("plain.txt"), "no Hebrew here");

    const Outcome all =
        Run({"detect", m_folder.File("logical.txt"), m_folder.File("visual page.htm"),
             m_folder.File("meta.htm"), m_folder.File("plain.txt")});
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(all.err, "");
    EXPECT_EQ(all.out, "logical 0 6 " + m_folder.File("logical.txt") + "\n" +  //
                           "visual 6 0 " + m_folder.File("visual page.htm") + "\n" + "visual 0 0 " +
                           m_folder.File("meta.htm") + "\n" + "unknown 0 0 " +
                           m_folder.File("plain.txt") + "\n");

    // Standard input without a file name; UTF-8 input with --encoding.
    EXPECT_EQ(Run({"detect"}, visual).out, "visual 6 0 -\n");
    const Outcome utf8 =
        Run({"detect", "--encoding", "utf-8"}, "\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD");
    EXPECT_EQ(utf8.status, 0);
    EXPECT_EQ(utf8.out, "logical 0 2 -\n");

    // A missing file is reported; the others are still examined.
    const Outcome missing =
        Run({"detect", m_folder.File("none.htm"), m_folder.File("logical.txt")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "logical 0 6 " + m_folder.File("logical.txt") + "\n");
    ExpectOneErrorLine(missing);
}

}  // namespace
