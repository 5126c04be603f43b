#include "framework/atomicfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "framework/filebytes.h"

namespace {

// What the temporary file's name adds to the target's: a mark, a hash of the
// target's whole name, a dash and the six random characters of mkostemp.
constexpr std::string_view kTemporaryMark = ".mirval-";
constexpr std::size_t kHashDigits = 8;
constexpr std::size_t kRandomChars = 6;

mode_t ProcessUmask() {
    // The only portable way to read the umask is to set it and set it back;
    // read it once, before anything else in the program depends on it.
    static const mode_t mask = [] {
        const mode_t old = ::umask(022);
        ::umask(old);
        return old;
    }();
    return mask;
}

std::string Failure(std::string_view name, int errorNumber) {
    std::string text("cannot write ");
    text += name;
    text += ": ";
    text += std::strerror(errorNumber);
    return text;
}

// The file a path finally names: symbolic links are resolved so that the
// rename replaces the file and keeps the link.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) {
            return resolved;
        }
    }
    return path;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The number of an open descriptor that a path names through the kernel's
// descriptor links (/dev/stdout, /dev/fd/N, /proc/self/fd/N), directly or
// through symbolic links; -1 when it names none. Writing goes into that
// descriptor, so it works for pipes and sockets too and keeps its offset.
int DescriptorNamedBy(const std::string& path) {
    const std::string ownFolder = "/proc/" + std::to_string(::getpid()) + "/fd/";
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        for (const std::string_view folder :
             {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/"),
              std::string_view("/proc/thread-self/fd/"), std::string_view(ownFolder)}) {
            if (current.starts_with(folder)) {
                const char* first = current.data() + folder.size();
                const char* last = current.data() + current.size();
                int fd = -1;
                const auto [end, status] = std::from_chars(first, last, fd);
                return status == std::errc() && end == last && first != last ? fd : -1;
            }
        }
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return -1;
        }
        char link[PATH_MAX];
        const ssize_t size = ::readlink(current.c_str(), link, sizeof link);
        if (size <= 0 || static_cast<std::size_t>(size) == sizeof link) {
            return -1;
        }
        std::string next(link, static_cast<std::size_t>(size));
        current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
    }
    return -1;
}

// The fixed part of the temporary names for a target named base: hidden,
// tied to the whole name by its hash, and short enough that the full
// temporary name stays within NAME_MAX however long base is.
std::string TemporaryPrefix(const std::string& base) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const char c : base) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    char digits[kHashDigits + 1];
    static const char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < kHashDigits; ++i) {
        digits[kHashDigits - 1 - i] = kHex[(hash >> (4 * i)) & 0xF];
    }
    digits[kHashDigits] = '\0';

    const std::size_t room = NAME_MAX - 1 - kTemporaryMark.size() - kHashDigits - 1 - kRandomChars;
    std::size_t keep = std::min(base.size(), room);
    // Cut at a character boundary, so that a UTF-8 name stays readable.
    while (keep > 0 && keep < base.size() &&
           (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) {
        --keep;
    }
    std::string prefix = ".";
    prefix.append(base, 0, keep);
    prefix += kTemporaryMark;
    prefix += digits;
    prefix += '-';
    return prefix;
}

bool IsTemporaryName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + kRandomChars || !name.starts_with(prefix)) {
        return false;
    }
    for (const char c : name.substr(prefix.size())) {
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum) {
            return false;
        }
    }
    return true;
}

// Removes the temporary files that earlier saves of the target left behind
// when they were killed. A save in progress holds a lock on its temporary
// file, so only abandoned ones can be locked here and are removed.
void RemoveStaleTemporaries(const std::string& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name, prefix)) {
            continue;
        }
        const int fd = ::openat(dirFd, entry->d_name,
                                O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
        ::close(fd);
    }
    ::closedir(dir);
}

// Gives the new file the owner and group of the old one. Only root may give
// a file away; anyone may give it a group they belong to. What cannot be kept
// is left as the process creates it.
void KeepOwner(int fd, const struct stat& old) {
    if (old.st_uid == ::geteuid() && old.st_gid == ::getegid()) {
        return;
    }
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        return;  // neither can be kept
    }
}

// Copies the extended attributes (access control lists, security labels,
// user attributes) of the old file to the new one, each as far as the
// process may set it.
void CopyAttributes(const std::string& from, int to) {
    ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
    if (size <= 0) {
        return;
    }
    std::vector<char> names(static_cast<std::size_t>(size));
    size = ::listxattr(from.c_str(), names.data(), names.size());
    if (size <= 0) {
        return;
    }
    std::vector<char> value;
    for (std::size_t at = 0; at < static_cast<std::size_t>(size);) {
        const char* name = names.data() + at;
        at += std::strlen(name) + 1;
        const ssize_t length = ::getxattr(from.c_str(), name, nullptr, 0);
        if (length < 0) {
            continue;
        }
        value.resize(static_cast<std::size_t>(length));
        const ssize_t got = ::getxattr(from.c_str(), name, value.data(), value.size());
        if (got >= 0) {
            ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(got), 0);
        }
    }
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : m_path(std::move(path)) {}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

void AtomicFileWriter::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

void AtomicFileWriter::SetError(int errorNumber, std::string& error) {
    m_errorNumber = errorNumber;
    error = Failure(m_path, errorNumber);
}

bool AtomicFileWriter::Fail(int errorNumber, std::string& error) {
    SetError(errorNumber, error);
    Discard();
    return false;
}

bool AtomicFileWriter::Prepare(std::string& error) {
    Discard();
    m_exists = false;

    // A device, a FIFO, a socket or a descriptor link is not a file that can
    // be replaced: the bytes go into it. (A folder fails here too.)
    const int named = DescriptorNamedBy(m_path);
    if (named >= 0) {
        m_mode = Mode::Direct;
        m_fd = ::fcntl(named, F_DUPFD_CLOEXEC, 0);
        return m_fd >= 0 || Fail(errno, error);
    }
    struct stat info {};
    if (::stat(m_path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        m_mode = Mode::Direct;
        m_fd = ::open(m_path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        return m_fd >= 0 || Fail(errno, error);
    }

    m_target = ResolveTarget(m_path);
    m_exists = ::stat(m_target.c_str(), &m_old) == 0;
    m_mode = Mode::Replace;
    if (m_exists) {
        // A writable folder would let the rename replace a file the user
        // may not write; the file's own permission decides.
        if (::faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0) {
            return Fail(errno, error);
        }
        if (m_old.st_nlink > 1) {
            m_mode = Mode::InPlace;
        }
    }
    RemoveStaleTemporaries(FolderOf(m_target), TemporaryPrefix(BaseOf(m_target)));
    return true;
}

bool AtomicFileWriter::CreateTemporary(std::string& error) {
    const std::string folder = FolderOf(m_target);
    const std::string pattern = folder + "/" + TemporaryPrefix(BaseOf(m_target)) + "XXXXXX";
    // Another save of the same file may take an unlocked temporary for a
    // stale one in the moment between creating and locking it: make sure the
    // locked file still has its name, else take a new one.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string temporary = pattern;
        const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (fd < 0) {
            return Fail(errno, error);
        }
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
            ::stat(temporary.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
            opened.st_dev == named.st_dev) {
            m_fd = fd;
            m_temporary = std::move(temporary);
            if (m_exists && m_mode == Mode::Replace) {
                KeepOwner(m_fd, m_old);
                CopyAttributes(m_target, m_fd);
            }
            return true;
        }
        ::close(fd);
    }
    return Fail(EEXIST, error);
}

bool AtomicFileWriter::Open(std::string& error) {
    if (!Prepare(error)) {
        return false;
    }
    return m_mode == Mode::Direct || CreateTemporary(error);
}

bool AtomicFileWriter::Write(std::string_view bytes, std::string& error) {
    if (m_fd < 0) {
        SetError(EBADF, error);
        return false;
    }
    if (!FileBytes::WriteDescriptor(m_fd, m_path, bytes, error, &m_errorNumber)) {
        Discard();
        return false;
    }
    return true;
}

bool AtomicFileWriter::Restart(std::string& error) {
    if (!Restartable()) {
        SetError(EBADF, error);
        return false;
    }
    if (::ftruncate(m_fd, 0) != 0 || ::lseek(m_fd, 0, SEEK_SET) != 0) {
        return Fail(errno, error);
    }
    return true;
}

bool AtomicFileWriter::Commit(std::string& error) {
    if (m_fd < 0) {
        SetError(EBADF, error);
        return false;
    }
    switch (m_mode) {
        case Mode::Replace:
            return CommitReplace(error);
        case Mode::InPlace:
            return CommitInPlace(error);
        case Mode::Direct:
            return CommitDirect(error);
    }
    return false;
}

bool AtomicFileWriter::CommitReplace(std::string& error) {
    // The mode is set last: until now the temporary file was private to the
    // process that writes it.
    const mode_t mode = m_exists ? (m_old.st_mode & 07777) : (0666 & ~ProcessUmask());
    if (::fchmod(m_fd, mode) != 0 || ::fsync(m_fd) != 0) {
        return Fail(errno, error);
    }
    // Renamed while still open and locked, so that no other save takes it
    // for an abandoned one.
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        return Fail(errno, error);
    }
    m_temporary.clear();
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0) {
        return Fail(errno, error);
    }

    // Make the rename itself durable; the new contents are already in place,
    // so a failure here is not reported.
    const int dirFd = ::open(FolderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

int AtomicFileWriter::OpenInPlace(std::string& error) {
    const int fd = ::open(m_target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0) {
        SetError(errno, error);
    }
    return fd;
}

bool AtomicFileWriter::FinishInPlace(int fd, std::string& error) {
    // The new contents were written over the old from the start; what is
    // left of the old beyond them is cut off.
    const off_t end = ::lseek(fd, 0, SEEK_CUR);
    int failure = 0;
    if (end < 0 || ::ftruncate(fd, end) != 0 || ::fsync(fd) != 0) {
        failure = errno;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure != 0) {
        SetError(failure, error);
        return false;
    }
    return true;
}

bool AtomicFileWriter::CommitInPlace(std::string& error) {
    // The whole contents are in the temporary file: copy them into the
    // target itself, which keeps its inode and so all its links.
    if (::lseek(m_fd, 0, SEEK_SET) != 0) {
        return Fail(errno, error);
    }
    const int out = OpenInPlace(error);
    if (out < 0) {
        Discard();
        return false;
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int failure = errno;
            ::close(out);
            return Fail(failure, error);
        }
        if (got == 0) {
            break;
        }
        if (!FileBytes::WriteDescriptor(
                out, m_path, std::string_view(buffer.data(), static_cast<std::size_t>(got)), error,
                &m_errorNumber)) {
            ::close(out);
            Discard();
            return false;
        }
    }
    const bool finished = FinishInPlace(out, error);
    Discard();  // the temporary file has served
    return finished;
}

bool AtomicFileWriter::CommitDirect(std::string& error) {
    // Only what keeps data (a regular file behind a descriptor link, a disk)
    // is flushed; pipes and character devices have nothing to flush.
    struct stat info {};
    int failure = 0;
    if (::fstat(m_fd, &info) == 0 && (S_ISREG(info.st_mode) || S_ISBLK(info.st_mode)) &&
        ::fsync(m_fd) != 0) {
        failure = errno;
    }
    if (::close(m_fd) != 0 && failure == 0) {
        failure = errno;
    }
    m_fd = -1;
    return failure == 0 || Fail(failure, error);
}

bool AtomicFile::Write(const std::string& path, std::string_view bytes, std::string& error) {
    int errorNumber = 0;
    return Write(path, bytes, error, errorNumber);
}

bool AtomicFile::Write(const std::string& path, std::string_view bytes, std::string& error,
                       int& errorNumber) {
    AtomicFileWriter writer(path);
    const bool written = WriteWith(writer, path, bytes, error);
    errorNumber = written ? 0 : writer.ErrorNumber();
    return written;
}

bool AtomicFile::WriteWith(AtomicFileWriter& writer, const std::string& path,
                           std::string_view bytes, std::string& error) {
    if (!writer.Prepare(error)) {
        return false;
    }
    if (writer.m_mode == AtomicFileWriter::Mode::InPlace) {
        // The contents are complete: no temporary file is needed to hold them.
        const int fd = writer.OpenInPlace(error);
        if (fd < 0) {
            return false;
        }
        if (!FileBytes::WriteDescriptor(fd, path, bytes, error, &writer.m_errorNumber)) {
            ::close(fd);
            return false;
        }
        return writer.FinishInPlace(fd, error);
    }
    if (writer.m_mode == AtomicFileWriter::Mode::Replace && !writer.CreateTemporary(error)) {
        return false;
    }
    return writer.Write(bytes, error) && writer.Commit(error);
}
