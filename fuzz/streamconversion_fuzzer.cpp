// conversion::StreamConversion against the whole-text chains it streams.
//
// Input: one flag byte (bits 0-1 the command: to-visual, lower-tags, table,
// and lower-tags without the text's facts; bit 2 RemoveTag; bit 3 BreakLines;
// bit 4 AddToHebParagraph; bit 5 marks that hold line ends and the table's
// placeholder instead of the program's), one width byte, one block-size byte
// (1-256), then the text. The text is fed in blocks of that size, the facts
// gathered over the same blocks.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "convert/streamconvert.h"
#include "fuzzsupport.h"

using conversion::StreamConversion;
using Command = StreamConversion::Command;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    const uint8_t flags = reader.Byte();
    static constexpr Command kCommands[] = {Command::ToVisual, Command::LowerTags, Command::Table,
                                            Command::LowerTags};
    const Command command = kCommands[flags & 3];
    const bool withFacts = (flags & 3) != 3;
    ConversionSettings settings;
    settings.RemoveTag = (flags >> 2) & 1;
    settings.BreakLines = (flags >> 3) & 1;
    settings.AddToHebParagraph = (flags >> 4) & 1;
    if ((flags & 0x20) != 0) {
        settings.AddToBrokenLine = "\r\n";
        settings.BeforeHebParagraph = "<CRLF>";
        settings.AfterHebParagraph = " \r";
    }
    settings.BreakLinesAt = reader.Byte();
    const size_t block = 1 + static_cast<size_t>(reader.Byte());
    const std::string text = reader.Rest();
    const std::string tag = (flags & 0x20) != 0 ? "<CR" : "<td>";
    const TableTags tags{"<table>", "LF>", tag};

    std::optional<conversion::TextFacts> facts;
    if (withFacts) {
        conversion::FactScanner scanner;
        for (size_t pos = 0; pos < text.size(); pos += block) {
            scanner.Feed(std::string_view(text).substr(pos, block));
        }
        facts = scanner.Facts();
    }
    StreamConversion stream(command, settings, tags, facts);
    std::string streamed;
    for (size_t pos = 0; pos < text.size(); pos += block) {
        stream.Feed(std::string_view(text).substr(pos, block), streamed);
    }
    stream.Finish(streamed);

    FUZZ_CHECK(streamed == StreamConversion::Whole(command, settings, tags, text));
    return 0;
}
