#pragma once

#include <string>

#include "cli/cliargs.h"

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
};
