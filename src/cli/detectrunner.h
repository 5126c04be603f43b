#pragma once

#include "cli/cliargs.h"

// The detect command: for each file named (or standard input), one line on
// standard output, or in the file given by -o, with the order the text is
// stored in, the two counts of Hebrew words behind the verdict and the name.
// The verdicts do not change the exit status; a file that cannot be read is
// reported and the others are still examined.
class DetectRunner {
public:
    static int Run(const CliArgs& args);
};
