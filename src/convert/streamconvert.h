#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "convert/conversionsettings.h"
#include "convert/convertinto.h"
#include "convert/tablebuilder.h"

// The whole-text conversions of the command-line converter, run over a text
// given in blocks: each block's complete lines are converted and handed on at
// once, the incomplete last line waits for the next block. The result is byte
// for byte the whole-text conversion's. Memory stays within a few blocks plus
// the longest line.
namespace conversion {

// What the conversions decide from the whole text before converting any of it.
struct TextFacts {
    bool hebrew = false;           // a Hebrew letter of code page 1255
    bool dosLetters = false;       // a DOS letter (looked for only while no Hebrew letter is seen)
    std::string separator = "\r";  // the line separator LogicalToVisual chooses
    std::optional<uint64_t> lastTagEnd;  // offset of the text's last ">"
};

// Gathers TextFacts from a text given in blocks (a first pass).
class FactScanner {
public:
    void Feed(std::string_view block);
    // The facts of everything fed.
    TextFacts Facts() const;

private:
    TextFacts m_facts;
    bool m_seen[3] = {};  // "\r\r\n", "\r\n", "\n" occur
    std::string m_tail;   // the last two bytes fed
    uint64_t m_offset = 0;
};

// One stage of a streamed conversion: takes bytes, appends what follows from
// them to `out`, keeps back what depends on bytes still to come.
class StreamStage {
public:
    virtual ~StreamStage() = default;
    // `final`: no more bytes follow `in`.
    virtual void Feed(std::string_view in, bool final, std::string& out) = 0;
    // As Feed, into a ByteSink, for the stages that write there directly;
    // false: the stage does not, and Feed was not run.
    virtual bool FeedInto(std::string_view, bool, ByteSink&) { return false; }
    // See StreamConversion::CrCrLfSeen.
    virtual bool CrCrLfSeen() const { return false; }
};

// A command's whole-text conversion as a stream.
class StreamConversion {
public:
    enum class Command { ToVisual, LowerTags, Table };

    // Whether the command's result can be made as a stream with these
    // settings: not to-visual with two CR LF as a paragraph (its marks are
    // replaced across the whole result).
    static bool Streams(Command command, const ConversionSettings& settings);

    // `facts` describe the whole text; lower-tags works without them (then a
    // "<" is held back until its ">" arrives). The tags are copied.
    StreamConversion(Command command, const ConversionSettings& settings, const TableTags& tags,
                     const std::optional<TextFacts>& facts);
    ~StreamConversion();

    // Converts the next block, appending what is complete to `out`.
    void Feed(std::string_view block, std::string& out);
    // The text has ended: appends the rest.
    void Finish(std::string& out);
    // The same into a ByteSink: to-visual's wrapper writes there without a
    // copy through a std::string.
    void Feed(std::string_view block, ByteSink& out);
    void Finish(ByteSink& out);

    // to-visual of a text with a Hebrew letter whose separator ends in "\n":
    // whether the text fed so far holds a "\r\r\n". Facts judged from the
    // start of a text with the separator "\r\n" were wrong then, since a
    // "\r\r\n" anywhere makes it the separator. False for other commands.
    bool CrCrLfSeen() const;

    // The whole-text conversion the stream must equal (the chains the
    // converter runs on a whole text): for tests and fuzzing.
    static std::string Whole(Command command, const ConversionSettings& settings,
                             const TableTags& tags, std::string text);

private:
    // Runs every stage but the last; returns the last one's input and index.
    std::string_view RunBeforeLast(std::string_view block, bool final, int& last);
    void Run(std::string_view block, bool final, std::string& out);
    void Run(std::string_view block, bool final, ByteSink& out);

    std::string m_table, m_row, m_cell;
    std::unique_ptr<StreamStage> m_stages[3];
    std::string m_between[2];
    std::string m_spare;  // the last stage's output on its way into a ByteSink
};

}  // namespace conversion
