#pragma once

#include <string>
#include <string_view>

// Whole-file reads and writes of raw bytes. Files are read with as few system
// calls as the kernel allows (one read for a regular file) so that large
// inputs cost little more than their copy. Errors come back as text naming
// the file and the system's reason.
class FileBytes {
public:
    enum class Status { Ok, Missing, NotRegular, Failed };
    // What ReadFile accepts. Only a regular file by default: reading a FIFO
    // waits for a writer and reading a device may never end, so a program
    // that must not hang refuses them. A command-line tool may read a pipe it
    // was given (a shell's <(...) is one).
    enum class Accept { RegularFile, AnyFile };

    // Reads the whole file at path. Missing when it does not exist;
    // NotRegular (with an error text) when it is a folder, FIFO, device or
    // socket and only a regular file is accepted.
    static Status ReadFile(const std::string& path, std::string& bytes, std::string& error,
                           Accept accept = Accept::RegularFile);
    // The same, also giving the failure's error number (0 when there is none,
    // as for a file that is not regular), so that a program can word the
    // reason in its own language.
    static Status ReadFile(const std::string& path, std::string& bytes, std::string& error,
                           int& errorNumber, Accept accept = Accept::RegularFile);

    // Reads everything from an open descriptor up to end of file; name is
    // used in the error text; errorNumber, when given, receives the error
    // number of a failure.
    static bool ReadDescriptor(int fd, std::string_view name, std::string& bytes,
                               std::string& error, int* errorNumber = nullptr);

    // Writes all of bytes to an open descriptor, retrying short writes.
    static bool WriteDescriptor(int fd, std::string_view name, std::string_view bytes,
                                std::string& error, int* errorNumber = nullptr);
};
