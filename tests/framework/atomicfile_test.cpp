#include "framework/atomicfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

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
    std::string error;
    ScratchFolder::Write(folder.File("keep.txt"), "old");
    ::chmod(folder.Path().c_str(), 0555);
    if (::access(folder.Path().c_str(), W_OK) == 0) {
        GTEST_SKIP() << "running with privileges that ignore folder permissions";
    }
    EXPECT_FALSE(AtomicFile::Write(folder.File("keep.txt"), "new", error));
    EXPECT_EQ(ScratchFolder::Read(folder.File("keep.txt")), "old");
}

}  // namespace
