#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

// Streams bytes into a file; Commit makes them its contents in one step.
//
// A regular file is replaced atomically: the bytes go to a temporary file in
// the same folder, which is flushed to disk and then renamed over the target,
// so a reader sees the old file or the new one, never a part of either, and a
// failure leaves the old file as it was. The new file keeps the mode, the
// owner and group (where the process may set them) and the extended
// attributes of the file it replaces; a new file is read-write for all, less
// the umask. A symbolic link is followed, so the file it names is replaced.
//
// Other targets are written where they are:
// - a file with more than one hard link is rewritten in place at Commit, so
//   that every link sees the new contents;
// - a device, a FIFO or a descriptor link such as /dev/stdout is opened and
//   written directly, without a temporary file.
//
// A regular file the process may not write is refused, even when its folder
// is writable. Temporary files are hidden, named after the target and at most
// NAME_MAX bytes long; one left behind by a save that was killed is removed by
// the next save of the same file. Failures come back as text naming the file
// and the reason.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();  // discards an uncommitted write, removing its temporary file
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    // Creates the temporary file (or opens a non-regular target directly).
    bool Open(std::string& error);
    bool Write(std::string_view bytes, std::string& error);
    // Whether Restart can drop what was written: not for a target written
    // directly (a device, a FIFO).
    bool Restartable() const { return m_fd >= 0 && m_mode != Mode::Direct; }
    // Drops everything written so far; the next Write starts the file again.
    bool Restart(std::string& error);
    // Flushes, then renames over the target (or finishes an in-place write).
    bool Commit(std::string& error);
    // The error number of the last failure (0 when none had one).
    int ErrorNumber() const { return m_errorNumber; }

private:
    friend class AtomicFile;

    enum class Mode { Replace, InPlace, Direct };

    bool Prepare(std::string& error);
    bool CreateTemporary(std::string& error);
    bool CommitReplace(std::string& error);
    bool CommitInPlace(std::string& error);
    bool CommitDirect(std::string& error);
    // Opens the target itself for an in-place rewrite; FinishInPlace cuts it
    // to what was written, flushes and closes it.
    int OpenInPlace(std::string& error);
    bool FinishInPlace(int fd, std::string& error);
    bool Fail(int errorNumber, std::string& error);
    // Sets error (and the error number) without discarding the write.
    void SetError(int errorNumber, std::string& error);
    void Discard();

    std::string m_path;       // as the caller named it, for messages
    std::string m_target;     // the file finally written
    std::string m_temporary;  // empty when no temporary file exists
    Mode m_mode = Mode::Replace;
    bool m_exists = false;  // the target existed when the write was opened
    struct stat m_old {};   // and this is what it was
    int m_fd = -1;
    int m_errorNumber = 0;
};

// Replaces a file's contents all at once, as AtomicFileWriter does. Since the
// contents are complete before anything is written, a hard-linked file is
// rewritten in place directly.
class AtomicFile {
public:
    // Writes bytes to path. On failure returns false with error naming the
    // file and the reason.
    static bool Write(const std::string& path, std::string_view bytes, std::string& error);
    // The same, also giving the failure's error number, so that a program
    // can word the reason in its own language.
    static bool Write(const std::string& path, std::string_view bytes, std::string& error,
                      int& errorNumber);

private:
    static bool WriteWith(AtomicFileWriter& writer, const std::string& path, std::string_view bytes,
                          std::string& error);
};
