#include "framework/filebytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/scratchfolder.h"

namespace {

// Only a regular file is read by default: a FIFO (which would wait for a
// writer), a device or a folder is refused at once with its own status.
TEST(FileBytes, OnlyRegularFilesAreReadAndNothingWaits) {
    ScratchFolder folder;
    ScratchFolder::Write(folder.File("page.htm"), "text");
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
    const struct {
        std::string path;
        FileBytes::Status status;
        std::string bytes;
    } cases[] = {
        {folder.File("page.htm"), FileBytes::Status::Ok, "text"},
        {folder.File("absent.htm"), FileBytes::Status::Missing, ""},
        {folder.File("fifo"), FileBytes::Status::NotRegular, ""},
        {"/dev/null", FileBytes::Status::NotRegular, ""},
        {folder.Path().string(), FileBytes::Status::NotRegular, ""},
    };
    ::alarm(20);  // a read that waits ends the test program, failing it
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string bytes = "stale";
        std::string error;
        EXPECT_EQ(FileBytes::ReadFile(c.path, bytes, error), c.status);
        EXPECT_EQ(bytes, c.bytes);
        if (c.status == FileBytes::Status::NotRegular) {
            EXPECT_NE(error.find(c.path), std::string::npos) << error;
        }
    }
    ::alarm(0);
}

}  // namespace
