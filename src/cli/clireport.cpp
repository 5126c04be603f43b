#include "cli/clireport.h"

#include <unistd.h>

#include <cstdio>

#include "framework/filebytes.h"

namespace cli {

void Report(std::string_view message) {
    std::string line("mirval-convert: ");
    line += message;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

bool ReadNamedFile(const std::string& path, const std::string& what, std::string& bytes) {
    std::string error;
    switch (FileBytes::ReadFile(path, bytes, error, FileBytes::Accept::AnyFile)) {
        case FileBytes::Status::Missing:
            Report("cannot read " + what + path + ": no such file");
            return false;
        case FileBytes::Status::NotRegular:
        case FileBytes::Status::Failed:
            Report(error);
            return false;
        case FileBytes::Status::Ok:
            break;
    }
    return true;
}

bool ReadInput(const std::string& path, std::string& bytes) {
    if (path.empty() || path == "-") {
        std::string error;
        if (!FileBytes::ReadDescriptor(STDIN_FILENO, "standard input", bytes, error)) {
            Report(error);
            return false;
        }
        return true;
    }
    return ReadNamedFile(path, "", bytes);
}

}  // namespace cli
