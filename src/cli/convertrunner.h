#pragma once

#include <string>

#include "cli/cliargs.h"
#include "convert/tablebuilder.h"
#include "document/settings.h"

// Carries out one parsed command line: reads the input, converts it with the
// engine's whole-text conversions and writes the result. Every failure ends
// in one line on standard error and its exit status.
class ConvertRunner {
public:
    static constexpr int kSuccess = 0;
    static constexpr int kUsageError = 1;
    static constexpr int kFileError = 2;
    static constexpr int kEncodingError = 3;

    static int Run(const CliArgs& args);

    // The settings of a command line (profile, then options) and, for
    // special-chars, the definitions; false with an exit status, reported.
    static bool PrepareSettings(const CliArgs& args, DocumentSettings& settings,
                                std::string& definitions, int& status);

    // Runs the command's whole-text conversion on code page 1255 text.
    // Returns false when the text held no Hebrew letter: to-visual and
    // to-modern then leave it as it was, table makes one empty cell.
    static bool ConvertText(const CliArgs& args, const ConversionSettings& settings,
                            const TableTags& tags, const std::string& definitions,
                            std::string& text);
};
