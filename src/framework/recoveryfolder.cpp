#include "framework/recoveryfolder.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace recoveryfolder {

namespace {

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool ReadAll(int fd, std::string& bytes) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
}

bool SameFile(int fd, const std::string& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

std::string Folder() {
    if (const char* folder = ::getenv("MIRVAL_RECOVERY_DIR"); folder != nullptr && *folder != 0) {
        return folder;
    }
    if (const char* state = ::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        return std::string(state) + "/mirval/recovery";
    }
    const char* home = ::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/state/mirval/recovery";
}

std::vector<Orphan> FindOrphans(const std::string& folder) {
    std::vector<Orphan> orphans;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string path = entry.path().string();
        const bool temporary = EndsWith(path, recoveryjournal::kTempSuffix);
        if (!temporary && !EndsWith(path, recoveryjournal::kSuffix)) {
            continue;
        }
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            continue;
        }
        // A journal renamed over since it was opened is taken by its writer.
        struct stat info {};
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !SameFile(fd, path) || ::fstat(fd, &info) != 0 ||
            !S_ISREG(info.st_mode)) {
            ::close(fd);
            continue;
        }
        std::string bytes;
        std::optional<recoveryjournal::Replayed> journal;
        if (!temporary && ReadAll(fd, bytes)) {
            journal = recoveryjournal::Replay(bytes);
        }
        if (!journal) {
            ::unlink(path.c_str());
            ::close(fd);
            continue;
        }
        Orphan orphan;
        orphan.path = path;
        orphan.fd = fd;
        orphan.changedMs =
            std::int64_t{info.st_mtim.tv_sec} * 1000 + info.st_mtim.tv_nsec / 1000000;
        recoveryjournal::Header now = journal->header;
        recoveryjournal::StampFile(now);
        const recoveryjournal::Header& then = journal->header;
        orphan.fileNewer =
            now.fileExisted && (!then.fileExisted || now.fileMtimeNs != then.fileMtimeNs ||
                                now.fileSize != then.fileSize);
        orphan.journal = std::move(*journal);
        orphans.push_back(std::move(orphan));
    }
    std::sort(orphans.begin(), orphans.end(),
              [](const Orphan& a, const Orphan& b) { return a.changedMs < b.changedMs; });
    return orphans;
}

void Release(Orphan& orphan) {
    if (orphan.fd >= 0) {
        ::close(orphan.fd);
        orphan.fd = -1;
    }
}

void Remove(Orphan& orphan) {
    ::unlink(orphan.path.c_str());
    const std::string folder = std::filesystem::path(orphan.path).parent_path().string();
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    Release(orphan);
}

}  // namespace recoveryfolder
