// The streamed conversions against the whole-text chains on random texts, cut
// into small blocks so that block ends fall inside CR LF, inside tags,
// entities and the table's line-end placeholder, and inside long lines.
#include "convert/streamconvert.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using conversion::FactScanner;
using conversion::StreamConversion;
using Command = StreamConversion::Command;

// Pieces the texts are made of: the bytes every rule looks at.
const std::vector<std::string> kPieces = {"\xE0\xE1\xE2",
                                          "\xF9\xEC\xE5\xED",
                                          " ",
                                          "  ",
                                          "\r\n",
                                          "\r\r\n",
                                          "\n",
                                          "\r",
                                          "\t",
                                          "\t\t",
                                          "abc",
                                          "ABC",
                                          "12",
                                          "-5",
                                          "(",
                                          ")",
                                          ".",
                                          "\"",
                                          "<",
                                          ">",
                                          "<B>",
                                          "<A HREF='X'>",
                                          "&quot;",
                                          "&nbsp;",
                                          "&",
                                          "\x85",
                                          "\x90\x91",
                                          "\xFF",
                                          "<CRLF>",
                                          "<CR",
                                          "LF>",
                                          "\xC0"};

std::string RandomText(std::mt19937& random, size_t pieces, const std::vector<std::string>& from) {
    std::string text;
    for (size_t k = 0; k < pieces; ++k) {
        text += from[random() % from.size()];
    }
    return text;
}

std::string Streamed(Command command, const ConversionSettings& settings, const TableTags& tags,
                     const std::string& text, size_t block, bool withFacts) {
    std::optional<conversion::TextFacts> facts;
    if (withFacts) {
        FactScanner scanner;
        for (size_t pos = 0; pos < text.size(); pos += block) {
            scanner.Feed(std::string_view(text).substr(pos, block));
        }
        facts = scanner.Facts();
    }
    StreamConversion stream(command, settings, tags, facts);
    std::string out;
    for (size_t pos = 0; pos < text.size(); pos += block) {
        stream.Feed(std::string_view(text).substr(pos, block), out);
    }
    stream.Finish(out);
    return out;
}

TEST(StreamConversion, EqualsWholeTextOnRandomTexts) {
    std::mt19937 random(16);
    const std::vector<std::string> noHebrew = {" ",   "\r\n",     "\n",   "\t", "abc",
                                               "<B>", "\x90\x91", "\xFF", "  ", "\r"};
    const std::vector<std::string> marks = {"", "<br>", "\r\n", "<CRLF>", " x "};
    const int widths[] = {70, 0, 1, 5, 12, -1};
    for (int round = 0; round < 600; ++round) {
        const bool hebrew = round % 5 != 0;
        std::string text = RandomText(random, random() % 60, hebrew ? kPieces : noHebrew);
        if (round % 7 == 0) {
            text += std::string(150, 'x') + " \xE0";  // a line longer than many blocks
        }
        ConversionSettings settings;
        settings.BreakLinesAt = widths[random() % std::size(widths)];
        settings.BreakLines = static_cast<int>(random() % 2);
        settings.AddToHebParagraph = static_cast<int>(random() % 2);
        settings.RemoveTag = static_cast<int>(random() % 2);
        settings.AddToBrokenLine = marks[random() % marks.size()];
        settings.BeforeHebParagraph = marks[random() % marks.size()];
        settings.AfterHebParagraph = marks[random() % marks.size()];
        const std::string table = marks[random() % marks.size()];
        const std::string row = marks[random() % marks.size()] + "<tr>";
        const std::string cell = "<td>" + marks[random() % marks.size()];
        const TableTags tags{table, row, cell};
        const size_t block = 1 + random() % 9;

        for (Command command : {Command::ToVisual, Command::LowerTags, Command::Table}) {
            const std::string whole = StreamConversion::Whole(command, settings, tags, text);
            SCOPED_TRACE(testing::Message()
                         << "round " << round << ", command " << static_cast<int>(command)
                         << ", block " << block << ", text " << testing::PrintToString(text));
            EXPECT_EQ(Streamed(command, settings, tags, text, block, true), whole);
            if (command == Command::LowerTags) {
                EXPECT_EQ(Streamed(command, settings, tags, text, block, false), whole);
            }
        }
    }
}

// The converter starts to-visual on facts judged from the start of a text
// (separator CR LF) and starts again when a CR CR LF comes later: every one
// must be seen, wherever the blocks are cut.
TEST(StreamConversion, ToVisualSeesEveryCrCrLf) {
    std::mt19937 random(1255);
    conversion::TextFacts guessed;
    guessed.hebrew = true;
    guessed.separator = "\r\n";
    for (int round = 0; round < 400; ++round) {
        const std::string text = RandomText(random, random() % 40, kPieces);
        const size_t block = 1 + random() % 9;
        StreamConversion stream(Command::ToVisual, ConversionSettings{}, TableTags{}, guessed);
        std::string out;
        for (size_t pos = 0; pos < text.size(); pos += block) {
            stream.Feed(std::string_view(text).substr(pos, block), out);
        }
        stream.Finish(out);
        EXPECT_EQ(stream.CrCrLfSeen(), text.find("\r\r\n") != std::string::npos)
            << "block " << block << ", text " << testing::PrintToString(text);
    }
}

TEST(StreamConversion, TwoCrLfParagraphsNeedTheWholeText) {
    ConversionSettings settings;
    EXPECT_TRUE(StreamConversion::Streams(Command::ToVisual, settings));
    settings.TwoCRLFPara = 1;
    EXPECT_FALSE(StreamConversion::Streams(Command::ToVisual, settings));
    EXPECT_TRUE(StreamConversion::Streams(Command::Table, settings));
    EXPECT_TRUE(StreamConversion::Streams(Command::LowerTags, settings));
}

}  // namespace
