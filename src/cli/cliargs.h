#pragma once

#include <optional>
#include <string>
#include <vector>

#include "convert/conversionsettings.h"

// The command line of mirval-convert, parsed but not yet acted on.
struct CliArgs {
    enum class Action { Convert, Help, Version, UsageError };
    enum class Command {
        ToVisual,
        ToLogical,
        ToDos,
        Toggle,
        LowerTags,
        SpecialChars,
        Table,
        Detect,
        ToModern
    };
    enum class Encoding { Cp1255, Utf8 };

    Action action = Action::UsageError;
    std::string error;  // for UsageError: one line, without the program name
    Command command = Command::ToVisual;
    std::string input;    // empty or "-": standard input
    std::string output;   // empty: standard output
    std::string profile;  // empty: no profile, the built-in defaults
    std::string def;      // special-chars: the definition file; empty: the shipped one
    // detect: every file named; none: standard input.
    std::vector<std::string> inputs;
    Encoding encoding = Encoding::Cp1255;

    // Many files at a time: every FILE given (files and folders), and where
    // the results go. Batch is set when more than one file, a folder,
    // --output-dir or --in-place is given.
    bool batch = false;
    std::vector<std::string> files;
    std::string outputDir;  // empty: none
    bool inPlace = false;
    std::vector<std::string> includes;  // file name patterns; empty: the default ones
    int jobs = 0;                       // 0: the number of cores
    bool quiet = false;
    bool onlyVisual = false;
    bool stripParagraphs = false;  // to-modern

    // Conversion settings given on the line; they win over the profile.
    // Strings are as given, in the input's encoding.
    std::optional<int> width;
    std::optional<int> breakLines;
    std::optional<int> hebrewParagraph;
    std::optional<int> removeTabs;
    std::optional<int> twoCrlfPara;
    std::optional<std::string> breakString;
    std::optional<std::string> before;
    std::optional<std::string> after;
    // The table command's tags; they win over the profile too.
    std::optional<std::string> tableTag;
    std::optional<std::string> trTag;
    std::optional<std::string> tdTag;

    // args are the program's arguments without the program name.
    static CliArgs Parse(const std::vector<std::string>& args);

    // Sets the numeric and on/off settings given on the line (strings are
    // left to the caller, which knows their encoding).
    void ApplyFlags(ConversionSettings& settings) const;

    static std::string HelpText();
};
