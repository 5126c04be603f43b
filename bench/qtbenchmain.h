#pragma once

// The main of the benchmarks that need the editor: a QApplication on the
// offscreen platform, a profile of their own (the user's stays out of it) and
// user-interface services that show nothing.
int RunQtBenchmarks(int argc, char** argv);
