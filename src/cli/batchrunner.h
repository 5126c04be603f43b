#pragma once

#include "cli/cliargs.h"

// Converts many files and folders at once (--output-dir or --in-place): the
// folders are walked, every file is read, converted and written on its own
// by a pool of workers, progress is shown on a terminal and a summary closes
// the run. A failing file never stops the others; the exit status is the
// worst of any file's.
class BatchRunner {
public:
    static int Run(const CliArgs& args);
};
