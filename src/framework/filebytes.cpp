#include "framework/filebytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string Reason(std::string_view action, std::string_view name, int errorNumber, int* number) {
    if (number != nullptr) {
        *number = errorNumber;
    }
    std::string text(action);
    text += ' ';
    text += name;
    text += ": ";
    text += std::strerror(errorNumber);
    return text;
}

std::string NotRegularFile(std::string_view name) {
    std::string text("cannot read ");
    text += name;
    text += ": not a regular file";
    return text;
}

}  // namespace

FileBytes::Status FileBytes::ReadFile(const std::string& path, std::string& bytes,
                                      std::string& error, Accept accept) {
    int errorNumber = 0;
    return ReadFile(path, bytes, error, errorNumber, accept);
}

FileBytes::Status FileBytes::ReadFile(const std::string& path, std::string& bytes,
                                      std::string& error, int& errorNumber, Accept accept) {
    errorNumber = 0;
    const bool regularOnly = accept == Accept::RegularFile;
    // Looked at before it is opened, since opening some devices has effects;
    // opened without waiting, since a FIFO put in its place meanwhile would
    // wait for a writer; and looked at again once open.
    struct stat info {};
    if (regularOnly && ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        bytes.clear();
        error = NotRegularFile(path);
        return Status::NotRegular;
    }
    const int fd =
        ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (regularOnly ? O_NONBLOCK : 0));
    if (fd < 0) {
        if (errno == ENOENT) {
            bytes.clear();
            return Status::Missing;
        }
        error = Reason("cannot read", path, errno, &errorNumber);
        return Status::Failed;
    }
    if (regularOnly && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        bytes.clear();
        error = NotRegularFile(path);
        return Status::NotRegular;
    }
    const bool ok = ReadDescriptor(fd, path, bytes, error, &errorNumber);
    ::close(fd);
    return ok ? Status::Ok : Status::Failed;
}

bool FileBytes::ReadDescriptor(int fd, std::string_view name, std::string& bytes,
                               std::string& error, int* errorNumber) {
    bytes.clear();
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = Reason("cannot read", name, errno, errorNumber);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = Reason("cannot read", name, EISDIR, errorNumber);
        return false;
    }
    // A regular file is read in one call into a buffer of its size (plus one
    // byte to see the end); pipes and growing files double the buffer.
    std::size_t capacity = 64 * 1024;
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        capacity = static_cast<std::size_t>(info.st_size) + 1;
    }
    std::size_t size = 0;
    bytes.resize(capacity);
    for (;;) {
        if (size == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = Reason("cannot read", name, errno, errorNumber);
            bytes.clear();
            return false;
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    return true;
}

bool FileBytes::WriteDescriptor(int fd, std::string_view name, std::string_view bytes,
                                std::string& error, int* errorNumber) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = Reason("cannot write", name, errno, errorNumber);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}
