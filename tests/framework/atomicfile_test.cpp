#include "framework/atomicfile.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string_view>

#include "common/scratchfolder.h"

namespace {

namespace fs = std::filesystem;

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

struct stat StatOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
}

bool Streamed(const std::string& path, std::string_view bytes, std::string& error) {
    AtomicFileWriter writer(path);
    return writer.Open(error) && writer.Write(bytes.substr(0, bytes.size() / 2), error) &&
           writer.Write(bytes.substr(bytes.size() / 2), error) && writer.Commit(error);
}

// Every rule holds for the one-shot write and for the streamed one.
using WriteFunction = bool (*)(const std::string&, std::string_view, std::string&);
const struct {
    const char* name;
    WriteFunction write;
} kWriters[] = {{"one-shot", &AtomicFile::Write}, {"streamed", &Streamed}};

constexpr uid_t kNobody = 65534;

enum class RunResult { True, False, NoPrivilegeDrop };

// Runs check as a user without privileges: in a child process that drops
// root to nobody, or right here when the tests run unprivileged already.
RunResult AsUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check() ? RunResult::True : RunResult::False;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(2);
        }
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return RunResult::NoPrivilegeDrop;
    }
    return WEXITSTATUS(status) == 0   ? RunResult::True
           : WEXITSTATUS(status) == 1 ? RunResult::False
                                      : RunResult::NoPrivilegeDrop;
}

// Everything a descriptor holds now, without waiting for more.
std::string ReadAvailable(int fd) {
    std::string bytes;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

TEST(AtomicFile, ReplacesContentsKeepingModeAndLinks) {
    ScratchFolder folder;
    const std::string path = folder.File("out.htm");
    std::string error;
    ASSERT_TRUE(AtomicFile::Write(path, std::string("a\0b\r\n", 5), error)) << error;
    EXPECT_EQ(ScratchFolder::Read(path), std::string("a\0b\r\n", 5));
    const mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_EQ(ModeOf(path), 0666 & ~mask);

    ::chmod(path.c_str(), 0640);
    fs::create_symlink(path, folder.File("link.htm"));
    ASSERT_TRUE(AtomicFile::Write(folder.File("link.htm"), "new", error)) << error;
    EXPECT_EQ(ScratchFolder::Read(path), "new");
    EXPECT_TRUE(fs::is_symlink(folder.File("link.htm")));
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(EntriesIn(folder.Path()), 2u);  // out.htm and link.htm: no temporary left
}

TEST(AtomicFile, StreamedBytesAppearOnlyAtCommit) {
    ScratchFolder folder;
    const std::string path = folder.File("out.htm");
    ScratchFolder::Write(path, "old");
    std::string error;
    {
        AtomicFileWriter writer(path);
        ASSERT_TRUE(writer.Open(error)) << error;
        ASSERT_TRUE(writer.Write("ne", error)) << error;
        ASSERT_TRUE(writer.Write("w", error)) << error;
        EXPECT_EQ(ScratchFolder::Read(path), "old");
        ASSERT_TRUE(writer.Commit(error)) << error;
    }
    EXPECT_EQ(ScratchFolder::Read(path), "new");
    {
        AtomicFileWriter abandoned(path);
        ASSERT_TRUE(abandoned.Open(error)) << error;
        ASSERT_TRUE(abandoned.Write("lost", error)) << error;
    }
    EXPECT_EQ(ScratchFolder::Read(path), "new");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);  // the abandoned temporary is gone
}

TEST(AtomicFile, FailureLeavesTheOldFileAndNoTemporary) {
    ScratchFolder folder;
    std::string error;
    fs::create_directory(folder.File("sub"));
    ScratchFolder::Write(folder.File("sub/keep.txt"), "old");
    // Replacing a folder fails even for root.
    EXPECT_FALSE(AtomicFile::Write(folder.File("sub"), "x", error));
    EXPECT_NE(error.find("sub"), std::string::npos);
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
    EXPECT_FALSE(AtomicFile::Write(folder.File("missing/x.txt"), "x", error));
}

TEST(AtomicFile, ReadOnlyFolderKeepsTheOldFile) {
    ScratchFolder folder;
    const std::string path = folder.File("keep.txt");
    ScratchFolder::Write(path, "old");
    ::chmod(path.c_str(), 0666);  // the file may be written, its folder not
    ::chmod(folder.Path().c_str(), 0555);
    const RunResult refused = AsUnprivileged([&] {
        std::string error;
        return !AtomicFile::Write(path, "new", error) && !Streamed(path, "new", error);
    });
    if (refused == RunResult::NoPrivilegeDrop) {
        GTEST_SKIP() << "cannot drop root privileges to user " << kNobody;
    }
    EXPECT_EQ(refused, RunResult::True);
    EXPECT_EQ(ScratchFolder::Read(path), "old");
}

TEST(AtomicFile, ReadOnlyFileIsRefusedThoughItsFolderIsWritable) {
    ScratchFolder folder;
    ::chmod(folder.Path().c_str(), 0777);
    const std::string path = folder.File("keep.txt");
    ScratchFolder::Write(path, "old");
    ::chmod(path.c_str(), 0444);
    if (::geteuid() == 0 && ::chown(path.c_str(), kNobody, kNobody) != 0) {
        GTEST_SKIP() << "cannot give the file to user " << kNobody;
    }
    const RunResult refused = AsUnprivileged([&] {
        std::string error;
        return !AtomicFile::Write(path, "new", error) &&
               error.find("keep.txt") != std::string::npos && !Streamed(path, "new", error);
    });
    if (refused == RunResult::NoPrivilegeDrop) {
        GTEST_SKIP() << "cannot drop root privileges to user " << kNobody;
    }
    EXPECT_EQ(refused, RunResult::True);
    EXPECT_EQ(ScratchFolder::Read(path), "old");
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(AtomicFile, ReplacementKeepsOwnerGroupModeAndExtendedAttributes) {
    for (const auto& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        ScratchFolder folder;
        const std::string path = folder.File("page.htm");
        ScratchFolder::Write(path, "old");
        ::chmod(path.c_str(), 0640);
        const bool root = ::geteuid() == 0;
        if (root) {
            ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
        }
        const bool attributes = ::setxattr(path.c_str(), "user.mirval", "kept", 4, 0) == 0;
        const struct stat before = StatOf(path);

        std::string error;
        ASSERT_TRUE(writer.write(path, "new", error)) << error;
        const struct stat after = StatOf(path);
        EXPECT_EQ(ScratchFolder::Read(path), "new");
        EXPECT_NE(after.st_ino, before.st_ino);  // replaced, not rewritten
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode, before.st_mode);
        if (attributes) {
            char value[16] = {};
            EXPECT_EQ(::getxattr(path.c_str(), "user.mirval", value, sizeof value), 4);
            EXPECT_STREQ(value, "kept");
        }
    }
}

TEST(AtomicFile, HardLinkedFileIsRewrittenInPlace) {
    for (const auto& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        ScratchFolder folder;
        const std::string path = folder.File("page.htm");
        const std::string link = folder.File("other-name.htm");
        ScratchFolder::Write(path, "old and longer than the new text");
        ::chmod(path.c_str(), 0604);
        fs::create_hard_link(path, link);
        const ino_t inode = StatOf(path).st_ino;

        std::string error;
        ASSERT_TRUE(writer.write(path, "new", error)) << error;
        EXPECT_EQ(ScratchFolder::Read(link), "new");
        EXPECT_EQ(StatOf(path).st_ino, inode);
        EXPECT_EQ(StatOf(path).st_nlink, 2u);
        EXPECT_EQ(ModeOf(path), 0604u);
        ASSERT_TRUE(writer.write(link, "newer, and longer than before", error)) << error;
        EXPECT_EQ(ScratchFolder::Read(path), "newer, and longer than before");
        EXPECT_EQ(EntriesIn(folder.Path()), 2u);
    }
}

TEST(AtomicFile, DevicesFifosAndDescriptorLinksAreWrittenIntoNotReplaced) {
    for (const auto& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        ScratchFolder folder;
        std::string error;

        const std::string fifo = folder.File("fifo");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);  // lets the writer open
        ASSERT_GE(reader, 0);
        EXPECT_TRUE(writer.write(fifo, "through the fifo", error)) << error;
        EXPECT_EQ(ReadAvailable(reader), "through the fifo");
        EXPECT_TRUE(fs::is_fifo(fifo));
        ::close(reader);

        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        for (const std::string& link : {"/dev/fd/" + std::to_string(pipeFds[1]),
                                        "/proc/self/fd/" + std::to_string(pipeFds[1])}) {
            EXPECT_TRUE(writer.write(link, "[" + link + "]", error)) << error;
        }
        ::close(pipeFds[1]);
        EXPECT_EQ(ReadAvailable(pipeFds[0]), "[/dev/fd/" + std::to_string(pipeFds[1]) +
                                                 "][/proc/self/fd/" + std::to_string(pipeFds[1]) +
                                                 "]");
        ::close(pipeFds[0]);

        // A null device of the test's own where it may make one, else the
        // system's through a link.
        const std::string device = folder.File("null");
        if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0) {
            fs::create_symlink("/dev/null", device);
        }
        EXPECT_TRUE(writer.write(device, "gone", error)) << error;
        EXPECT_TRUE(fs::is_character_file(device));
        EXPECT_EQ(EntriesIn(folder.Path()), 2u);  // fifo and null: no temporary
    }
}

TEST(AtomicFile, NameAtTheLengthLimitSaves) {
    std::string hebrew;
    for (int i = 0; i < 125; ++i) {
        hebrew += "\xD7\x90";  // a two-byte letter: the cut must not split one
    }
    for (const auto& writer : kWriters) {
        for (const std::string& name : {std::string(251, 'a') + ".htm", hebrew + ".htm"}) {
            SCOPED_TRACE(std::string(writer.name) + " " + std::to_string(name.size()));
            ScratchFolder folder;
            const std::string path = folder.File(name);
            std::string error;
            ASSERT_TRUE(writer.write(path, "first", error)) << error;
            ASSERT_TRUE(writer.write(path, "second", error)) << error;
            EXPECT_EQ(ScratchFolder::Read(path), "second");
            EXPECT_EQ(EntriesIn(folder.Path()), 1u);
        }
    }
}

TEST(AtomicFile, TemporaryOfAKilledSaveGoesWithTheNextSaveOfThatFile) {
    ScratchFolder folder;
    const std::string path = folder.File("page.htm");
    const std::string other = folder.File("page.htm.bak");
    ScratchFolder::Write(path, "old");
    ScratchFolder::Write(other, "old");
    // Names that only look like temporary ones stay.
    for (const char* name : {"page.htm.A1b2C3", ".page.htm.mirval-", ".page.htm~"}) {
        ScratchFolder::Write(folder.File(name), "not ours");
    }
    // Saves killed after writing part of their temporary files.
    for (const std::string& target : {path, other}) {
        const pid_t child = ::fork();
        if (child == 0) {
            std::string error;
            AtomicFileWriter* writer = new AtomicFileWriter(target);
            ::_exit(writer->Open(error) && writer->Write("half", error) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ASSERT_EQ(EntriesIn(folder.Path()), 7u);

    // A save of the same file running in another process keeps its own.
    int started[2];
    int proceed[2];
    ASSERT_EQ(::pipe(started), 0);
    ASSERT_EQ(::pipe(proceed), 0);
    const pid_t running = ::fork();
    if (running == 0) {
        std::string error;
        AtomicFileWriter writer(path);
        char go = 0;
        const bool ok = writer.Open(error) && writer.Write("theirs", error) &&
                        ::write(started[1], "s", 1) == 1 && ::read(proceed[0], &go, 1) == 1 &&
                        writer.Commit(error);
        ::_exit(ok ? 0 : 1);
    }
    char signal = 0;
    ASSERT_EQ(::read(started[0], &signal, 1), 1);

    std::string error;
    ASSERT_TRUE(AtomicFile::Write(path, "new", error)) << error;
    EXPECT_EQ(ScratchFolder::Read(path), "new");
    EXPECT_EQ(EntriesIn(folder.Path()), 7u);  // the stale one went, the running one stays

    ASSERT_EQ(::write(proceed[1], "p", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(running, &status, 0), running);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ScratchFolder::Read(path), "theirs");
    for (int fd : {started[0], started[1], proceed[0], proceed[1]}) {
        ::close(fd);
    }
    EXPECT_EQ(EntriesIn(folder.Path()), 6u);  // the other file's stale temporary is not touched
    EXPECT_EQ(ScratchFolder::Read(other), "old");
}

}  // namespace
