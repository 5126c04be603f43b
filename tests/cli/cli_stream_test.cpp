// The streamed commands of mirval-convert against the whole-text chains, with
// blocks of a few bytes (MIRVAL_CONVERT_BLOCK_SIZE) so that block ends fall
// inside CR LF, tags, long lines and UTF-8 characters; input from a file, a
// pipe held in memory and a pipe spooled to a temporary file.
#include <cstdlib>
#include <random>

#include "clirunner.h"
#include "convert/streamconvert.h"
#include "text/utf8codec.h"

namespace {

using conversion::StreamConversion;
using Command = StreamConversion::Command;

class CliStreamTest : public CliTest {
protected:
    void TearDown() override { ::unsetenv("MIRVAL_CONVERT_BLOCK_SIZE"); }
};

// Code page 1255 pieces; in UTF-8 the letters take two bytes and the
// ellipsis three.
const std::vector<std::string> kPieces = {
    "\xE0\xE1\xE2 ", "\xF9\xEC\xE5\xED", " ",    "\r\n", "\n", "\r",       "\t",     "abc", "<B>",
    "<A HREF=X>",    "&quot;",           "\x85", "12",   "(",  "\r\n\r\n", "<CRLF>", "<",   ">"};

TEST_F(CliStreamTest, StreamedCommandsEqualTheWholeTextChains) {
    std::mt19937 random(1255);
    const char* commands[] = {"to-visual", "lower-tags", "table"};
    const Command chains[] = {Command::ToVisual, Command::LowerTags, Command::Table};
    for (int round = 0; round < 36; ++round) {
        std::string text;
        for (int k = static_cast<int>(random() % 40); k > 0; --k) {
            text += kPieces[random() % kPieces.size()];
        }
        if (round % 4 == 0) {
            text += std::string(40, 'x') + " \xE0";  // a line of many blocks
        }
        const bool utf8 = round % 2 == 1;
        const bool hebrewParagraph = round % 3 == 0;
        ConversionSettings settings;
        settings.BreakLinesAt = 9;
        settings.AddToHebParagraph = hebrewParagraph ? 1 : 0;
        settings.AddToBrokenLine = "<br>";
        settings.BeforeHebParagraph = "<p>";
        settings.AfterHebParagraph = "</p>";
        const TableTags tags{"<table>", "<tr>", "<td>"};
        const int command = round % 3;
        std::string expected = StreamConversion::Whole(chains[command], settings, tags, text);
        const std::string input = utf8 ? Utf8Codec::EncodeCp1255(text) : text;
        if (utf8) {
            expected = Utf8Codec::EncodeCp1255(expected);
        }
        const std::string block = std::to_string(1 + random() % 5);
        ::setenv("MIRVAL_CONVERT_BLOCK_SIZE", block.c_str(), 1);
        const std::vector<std::string> args = {
            commands[command],     "--width=9",
            "--break-lines",       hebrewParagraph ? "--hebrew-paragraph" : "--no-hebrew-paragraph",
            "--remove-tabs",       "--no-two-crlf-para",
            "--break-string=<br>", "--before=<p>",
            "--after=</p>",        "--table-tag=<table>",
            "--tr-tag=<tr>",       "--td-tag=<td>",
            "--encoding",          utf8 ? "utf-8" : "cp1255"};
        SCOPED_TRACE(testing::Message() << "round " << round << ", block " << block << ", text "
                                        << testing::PrintToString(text));
        for (bool piped : {false, true}) {
            const Outcome outcome = Run(args, input, piped);
            EXPECT_EQ(outcome.status, 0) << outcome.err;
            EXPECT_EQ(outcome.out, expected) << (piped ? "piped" : "from a file");
        }
    }
}

// to-visual of a file into a file starts on the facts of the first block and
// starts again when a later "\r\r\n" changes the line separator: the result
// is the whole-text chain's for standard output in a file, an -o file (which
// held something before) and a pipe (which cannot start again).
TEST_F(CliStreamTest, ToVisualStartsAgainWhenALaterCrCrLfChangesTheSeparator) {
    std::mt19937 random(862);
    const std::string target = m_folder.File("out.html");
    for (int round = 0; round < 12; ++round) {
        std::string text = "\xE0\xE1 (abc) \xE2\r\n";
        for (int k = static_cast<int>(random() % 30); k > 0; --k) {
            text += kPieces[random() % kPieces.size()];
        }
        if (round % 3 != 2) {
            text.insert(text.size() - text.size() / (2 + round % 4), "x\r\r\n\xE3");
        }
        const std::string expected =
            StreamConversion::Whole(Command::ToVisual, ConversionSettings{}, TableTags{}, text);
        const std::string block = std::to_string(text.size() / (1 + random() % 4) + 1);
        ::setenv("MIRVAL_CONVERT_BLOCK_SIZE", block.c_str(), 1);
        SCOPED_TRACE(testing::Message() << "round " << round << ", block " << block << ", text "
                                        << testing::PrintToString(text));
        EXPECT_EQ(Run({"to-visual"}, text).out, expected) << "into a file";
        EXPECT_EQ(Run({"to-visual"}, text, false, true).out, expected) << "into a pipe";
        ScratchFolder::Write(target, "old contents, longer than some results");
        const Outcome written = Run({"to-visual", "-o", target}, text);
        EXPECT_EQ(written.status, 0) << written.err;
        EXPECT_EQ(ScratchFolder::Read(target), expected) << "-o";
        // Appended to a file (>>), whose old contents must stay.
        ScratchFolder::Write(target, "old\n");
        const std::string command = Quote(MIRVAL_CONVERT_PATH) + " to-visual " +
                                    Quote(m_folder.File("stdin")) + " >>" + Quote(target);
        EXPECT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(ScratchFolder::Read(target), "old\n" + expected) << "appended";
    }
}

TEST_F(CliStreamTest, EncodingErrorsNameTheLineAndColumnOfTheWholeText) {
    // A byte order mark counts only at the very start; later it is a character
    // without a code page form. Invalid UTF-8 three lines on.
    const std::string letters = "\xD7\x90\xD7\x91";
    for (const char* block : {"1", "3", "7"}) {
        ::setenv("MIRVAL_CONVERT_BLOCK_SIZE", block, 1);
        const Outcome bom = Run({"to-visual", "--encoding", "utf-8"},
                                "\xEF\xBB\xBF" + letters + "\n" + letters + "\n\xEF\xBB\xBFx");
        EXPECT_EQ(bom.status, 3);
        EXPECT_EQ(bom.err,
                  "mirval-convert: standard input: line 3, column 1: U+FEFF has no code "
                  "page 1255 form\n");
        const Outcome invalid = Run({"lower-tags", "--encoding", "utf-8"},
                                    letters + "\r\n\r\n" + letters + " <A>\xC3(", true);
        EXPECT_EQ(invalid.status, 3);
        EXPECT_EQ(invalid.err, "mirval-convert: standard input: line 3, column 7: invalid UTF-8\n");
        EXPECT_EQ(invalid.out, "");
    }
}

}  // namespace

namespace {

TEST_F(CliStreamTest, OutputFileIsReplacedOnlyWhenTheStreamSucceeded) {
    ::setenv("MIRVAL_CONVERT_BLOCK_SIZE", "2", 1);
    const std::string target = m_folder.File("out.html");
    ScratchFolder::Write(target, "old");
    const std::string text = "\xE0\xE1 abc\r\n<B>\xE2</B>\r\n";
    ConversionSettings settings;
    const std::string expected =
        StreamConversion::Whole(Command::ToVisual, settings, TableTags{}, text);
    EXPECT_EQ(Run({"to-visual", "-o", target}, text).status, 0);
    EXPECT_EQ(ScratchFolder::Read(target), expected);

    ScratchFolder::Write(target, "old");
    const Outcome failed = Run({"to-visual", "--encoding", "utf-8", "-o", target},
                               "\xD7\x90\r\n" + std::string(20, 'x') + "\xFF", true);
    EXPECT_EQ(failed.status, 3);
    EXPECT_EQ(ScratchFolder::Read(target), "old");
}

}  // namespace
