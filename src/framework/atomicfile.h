#pragma once

#include <string>
#include <string_view>

// Replaces a file's contents all at once: the bytes go to a temporary file in
// the same folder, which is flushed to disk and then renamed over the target.
// A reader sees the old file or the new one, never a part of either, and a
// failure leaves the old file as it was.
class AtomicFile {
public:
    // Writes bytes to path. The new file keeps the permissions of the file it
    // replaces (for a new file: read-write for all, less the umask). A
    // symbolic link is followed, so the file it names is replaced. On failure
    // returns false with error naming the file and the reason.
    static bool Write(const std::string& path, std::string_view bytes, std::string& error);
};
