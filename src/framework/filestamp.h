#pragma once

#include <cstdint>
#include <string>

// What identifies a file and its content on disk without reading it: the
// device and inode (which file), its size and modification time (which
// version). Taken when a document reads or writes its file and compared
// later to learn whether another program has changed it.
struct FileStamp {
    bool exists = false;
    bool regular = false;  // a plain file, not a folder, device or FIFO
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;  // nanoseconds since the epoch

    // The stamp of the file at localPath (symbolic links followed); a stamp
    // that does not exist when it cannot be examined.
    static FileStamp Of(const std::string& localPath);

    // Both name the same existing file (hard links and symbolic links
    // included).
    bool SameFile(const FileStamp& other) const {
        return exists && other.exists && device == other.device && inode == other.inode;
    }
    bool operator==(const FileStamp&) const = default;
};
