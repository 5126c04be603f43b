#pragma once

#include <string>
#include <string_view>

// Streams bytes into a file; Commit makes them its contents in one step.
// The bytes go to a temporary file in the same folder, which is flushed to
// disk and then renamed over the target, so a reader sees the old file or the
// new one, never a part of either, and a failure leaves the old file as it
// was. The new file keeps the permissions of the file it replaces (for a new
// file: read-write for all, less the umask). A symbolic link is followed, so
// the file it names is replaced. Failures come back as text naming the file
// and the reason.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();  // discards an uncommitted write, removing its temporary file
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    bool Open(
        std::string& error);  // creates the temporary file (or opens a non-regular target directly)
    bool Write(std::string_view bytes, std::string& error);
    bool Commit(
        std::string& error);  // flush, then rename over the target (or finish an in-place write)

private:
    void Discard();

    std::string m_path;       // as the caller named it, for messages
    std::string m_target;     // the file finally replaced
    std::string m_temporary;  // empty when no temporary file exists
    int m_fd = -1;
};

// Replaces a file's contents all at once, as AtomicFileWriter does.
class AtomicFile {
public:
    // Writes bytes to path. On failure returns false with error naming the
    // file and the reason.
    static bool Write(const std::string& path, std::string_view bytes, std::string& error);
};
