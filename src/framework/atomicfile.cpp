#include "framework/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

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

bool AtomicFile::Write(const std::string& path, std::string_view bytes, std::string& error) {
    const std::string target = ResolveTarget(path);
    const std::string folder = FolderOf(target);
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = Failure(path, errno);
        return false;
    }

    struct stat old {};
    const mode_t mode =
        ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~ProcessUmask());
    int failure = 0;
    std::string writeError;
    if (::fchmod(fd, mode) != 0) {
        failure = errno;
    } else if (!FileBytes::WriteDescriptor(fd, path, bytes, writeError)) {
        failure = -1;  // writeError already tells why
    } else if (::fsync(fd) != 0) {
        failure = errno;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(temporary.c_str());
        error = failure < 0 ? writeError : Failure(path, failure);
        return false;
    }

    // Make the rename itself durable; the new contents are already in place,
    // so a failure here is not reported.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}
