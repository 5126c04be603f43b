#pragma once

#include <string>
#include <string_view>

// What every part of mirval-convert shares with the user: one error line on
// standard error, and reading a named input with its failure told there.
namespace cli {

// Writes "mirval-convert: MESSAGE" as one line on standard error.
void Report(std::string_view message);

// Reads a whole file; a failure is reported, what names the file's role
// ("profile ", "definition file ", or nothing for the input). A pipe is read
// as well (a shell's <(...) gives one).
bool ReadNamedFile(const std::string& path, const std::string& what, std::string& bytes);

// Reads the input named on the line: standard input for "" or "-", else the
// named file.
bool ReadInput(const std::string& path, std::string& bytes);

}  // namespace cli
