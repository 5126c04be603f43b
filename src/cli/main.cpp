// mirval-convert: the conversion engine from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cliargs.h"
#include "cli/convertrunner.h"

int main(int argc, char** argv) {
    const CliArgs args = CliArgs::Parse(std::vector<std::string>(argv + 1, argv + argc));
    switch (args.action) {
        case CliArgs::Action::Help:
            std::fputs(CliArgs::HelpText().c_str(), stdout);
            return std::fflush(stdout) == 0 ? ConvertRunner::kSuccess : ConvertRunner::kFileError;
        case CliArgs::Action::Version:
            std::fputs("mirval-convert " MIRVAL_VERSION "\n", stdout);
            return std::fflush(stdout) == 0 ? ConvertRunner::kSuccess : ConvertRunner::kFileError;
        case CliArgs::Action::UsageError:
            std::fprintf(stderr, "mirval-convert: %s\n", args.error.c_str());
            return ConvertRunner::kUsageError;
        case CliArgs::Action::Convert:
            break;
    }
    return ConvertRunner::Run(args);
}
