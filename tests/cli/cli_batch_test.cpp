// Many files at a time: folders walked into an output folder, files replaced
// in place, failures reported without stopping the others.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/clirunner.h"
#include "common/hebrew.h"
#include "common/scratchfolder.h"
#include "text/utf8codec.h"

namespace {

namespace fs = std::filesystem;

// Every file under a folder, by its path relative to it, with its bytes.
std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(root).string()] =
                ScratchFolder::Read(entry.path().string());
        }
    }
    return files;
}

class CliBatchTest : public CliTest {
protected:
    std::string Put(const std::string& name, const std::string& bytes) {
        const fs::path path = m_folder.Path() / name;
        fs::create_directories(path.parent_path());
        ScratchFolder::Write(path.string(), bytes);
        return path.string();
    }

    const std::string m_visual = Heb("</p>םלוע םולש<p><br>\r\n");
    const std::string m_modern =
        "<meta charset=\"utf-8\"><div dir=\"rtl\" lang=\"he\"><p>\u05E9\u05DC\u05D5\u05DD "
        "\u05E2\u05D5\u05DC\u05DD</p>\r\n</div>";
};

TEST_F(CliBatchTest, ToModernOnOneFile) {
    // The paragraph strings go on request; the output is UTF-8 whatever came in.
    const Outcome stripped = Run({"to-modern", "--strip-paragraphs"},
                                 "<div align=\"right\">\r\n" + m_visual + "</div>\r\n");
    EXPECT_EQ(stripped.status, 0);
    EXPECT_EQ(stripped.out, m_modern);
    EXPECT_EQ(Run({"to-modern", "--encoding=utf-8"}, Utf8Codec::EncodeCp1255(m_visual)).out,
              m_modern);
    const Outcome plain = Run({"to-modern"}, "no Hebrew\r\n");
    EXPECT_EQ(plain.out, "no Hebrew\r\n");
    ExpectOneErrorLine(plain);
}

TEST_F(CliBatchTest, AFolderTreeComesOutAsTheSameTree) {
    Put("site/index.htm", m_visual);
    Put("site/a/b/deep.html", m_visual);
    Put("site/a/plain.txt", "no Hebrew here\r\n");
    Put("site/a/picture.png", "\x89PNG");
    const std::string out = m_folder.File("out");
    const Outcome outcome = Run({"to-modern", "--output-dir", out, m_folder.File("site")});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::map<std::string, std::string> expected = {{"index.htm", m_modern},
                                                         {"a/b/deep.html", m_modern},
                                                         {"a/plain.txt", "no Hebrew here\r\n"}};
    EXPECT_EQ(Tree(out), expected);
    EXPECT_EQ(outcome.err,
              "mirval-convert: 3 files: 2 converted, 1 unchanged (no Hebrew letter), 0 skipped "
              "(not visual), 0 failed\n");

    // --include chooses other files; --quiet leaves standard error empty.
    const Outcome png = Run({"to-modern", "--quiet", "--include=*.png", "--output-dir",
                             m_folder.File("png"), m_folder.File("site")});
    EXPECT_EQ(png.err, "");
    EXPECT_EQ(Tree(m_folder.File("png")),
              (std::map<std::string, std::string>{{"a/picture.png", "\x89PNG"}}));
}

TEST_F(CliBatchTest, AFailingFileDoesNotStopTheOthers) {
    const std::string good = Put("in/good.htm", "\u05DD\u05D5\u05DC\u05E9");
    const std::string bad = Put("in/bad.htm", "\xFF\xFE not UTF-8");
    const std::string missing = m_folder.File("in/missing.htm");
    const std::string out = m_folder.File("out");
    const Outcome outcome =
        Run({"to-visual", "--encoding=utf-8", "--output-dir", out, bad, missing, good});
    EXPECT_EQ(outcome.status, 3);  // the worst: an encoding error beats a missing file
    EXPECT_EQ(ScratchFolder::Read(out + "/good.htm"), "\u05E9\u05DC\u05D5\u05DD<br>\r\n");
    EXPECT_FALSE(fs::exists(out + "/bad.htm"));
    EXPECT_NE(outcome.err.find("cannot read " + missing + ": no such file or folder"),
              std::string::npos)
        << outcome.err;
    EXPECT_NE(outcome.err.find(bad + ": line 1, column 1"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("1 converted, 0 unchanged (no Hebrew letter), 0 skipped (not "
                               "visual), 1 failed"),
              std::string::npos)
        << outcome.err;
}

TEST_F(CliBatchTest, JobsGiveTheSameBytes) {
    for (int k = 0; k < 24; ++k) {
        std::string page;
        for (int line = 0; line <= k; ++line) {
            page += Heb("</p>הרוש ") + std::to_string(line) + Heb(" לש abc םיבר םירבד<p><br>\r\n");
        }
        Put("site/d" + std::to_string(k % 3) + "/p" + std::to_string(k) + ".htm", page);
    }
    const Outcome one =
        Run({"to-modern", "-j", "1", "--output-dir", m_folder.File("one"), m_folder.File("site")});
    const Outcome four =
        Run({"to-modern", "-j4", "--output-dir", m_folder.File("four"), m_folder.File("site")});
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(four.status, 0);
    const auto tree = Tree(m_folder.File("one"));
    EXPECT_EQ(tree.size(), 24u);
    EXPECT_EQ(tree, Tree(m_folder.File("four")));
}

TEST_F(CliBatchTest, InPlaceAndOnlyVisual) {
    const std::string visual = Put("v.htm", m_visual);
    const std::string logical = Put("l.htm", Heb("<p>שלום לכם, עולם ומלואו</p>\r\n"));
    const Outcome outcome = Run({"to-modern", "--in-place", "--only-visual", visual, logical});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(ScratchFolder::Read(visual), m_modern);
    EXPECT_EQ(ScratchFolder::Read(logical), Heb("<p>שלום לכם, עולם ומלואו</p>\r\n"));
    EXPECT_NE(outcome.err.find("1 converted, 0 unchanged (no Hebrew letter), 1 skipped"),
              std::string::npos)
        << outcome.err;

    // Several files need somewhere to go; -o names one file only.
    EXPECT_EQ(Run({"to-modern", visual, logical}).status, 1);
    EXPECT_EQ(Run({"to-modern", "--in-place", "-o", "x", visual}).status, 1);
    EXPECT_EQ(Run({"to-modern", "--in-place", "--output-dir", "x", visual}).status, 1);
}

}  // namespace
