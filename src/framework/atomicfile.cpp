#include "framework/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "framework/filebytes.h"

namespace {

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

bool AtomicFileWriter::Open(std::string& error) {
    Discard();
    m_target = ResolveTarget(m_path);
    std::string temporary = m_target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = Failure(m_path, errno);
        return false;
    }
    m_fd = fd;
    m_temporary = temporary;
    struct stat old {};
    const mode_t mode =
        ::stat(m_target.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~ProcessUmask());
    if (::fchmod(fd, mode) != 0) {
        error = Failure(m_path, errno);
        Discard();
        return false;
    }
    return true;
}

bool AtomicFileWriter::Write(std::string_view bytes, std::string& error) {
    if (m_fd < 0) {
        error = Failure(m_path, EBADF);
        return false;
    }
    if (!FileBytes::WriteDescriptor(m_fd, m_path, bytes, error)) {
        Discard();
        return false;
    }
    return true;
}

bool AtomicFileWriter::Commit(std::string& error) {
    if (m_fd < 0) {
        error = Failure(m_path, EBADF);
        return false;
    }
    int failure = ::fsync(m_fd) != 0 ? errno : 0;
    if (::close(m_fd) != 0 && failure == 0) {
        failure = errno;
    }
    m_fd = -1;
    if (failure == 0 && ::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        error = Failure(m_path, failure);
        Discard();
        return false;
    }
    m_temporary.clear();

    // Make the rename itself durable; the new contents are already in place,
    // so a failure here is not reported.
    const int dirFd = ::open(FolderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool AtomicFile::Write(const std::string& path, std::string_view bytes, std::string& error) {
    AtomicFileWriter writer(path);
    return writer.Open(error) && writer.Write(bytes, error) && writer.Commit(error);
}
