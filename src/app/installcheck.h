#pragma once

#include <cstdio>

// mirval --check-install: finds the data files the program needs (the
// definition file, the help page, the default template) and the template
// folders, writes where each one is to `out`, and gives the exit status: 0
// when every file was found, 1 otherwise. It opens no window, so a package
// or an installation can be checked without a display.
int RunInstallCheck(std::FILE* out);
