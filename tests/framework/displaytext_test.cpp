#include "framework/displaytext.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "common/scratchfolder.h"
#include "framework/atomicfile.h"
#include "framework/filebytes.h"

namespace {

// Failures of the file layer keep their error number, and the editor words
// the common ones in Hebrew; any other keeps the system's own text.
TEST(SystemReason, CommonFailuresReachTheUserInHebrew) {
    ScratchFolder folder;
    const std::string tooLong = folder.File(std::string(300, 'x') + ".htm");
    struct Case {
        const char* what;
        std::string path;
        bool read;
        int expected;
    } const cases[] = {
        {"write into a missing folder", folder.File("missing/page.htm"), false, ENOENT},
        {"write over a folder", folder.Path().string(), false, EISDIR},
        {"read a name too long", tooLong, true, ENAMETOOLONG},
        {"write a name too long", tooLong, false, ENAMETOOLONG},
    };
    for (const Case& c : cases) {
        std::string error;
        std::string bytes;
        int number = 0;
        const bool ok =
            c.read ? FileBytes::ReadFile(c.path, bytes, error, number) == FileBytes::Status::Ok
                   : AtomicFile::Write(c.path, "x", error, number);
        EXPECT_FALSE(ok) << c.what;
        EXPECT_EQ(number, c.expected) << c.what << ": " << error;
        // The English text for the command line is still there.
        EXPECT_NE(error.find(std::strerror(c.expected)), std::string::npos) << c.what;
    }
    for (const int number : {ENOENT, EACCES, EPERM, ENOSPC, EROFS, EISDIR, ENAMETOOLONG, EEXIST}) {
        const QString reason = SystemReason(number);
        EXPECT_EQ(reason.front().script(), QChar::Script_Hebrew) << number;
    }
    EXPECT_EQ(SystemReason(EIO), QString::fromLocal8Bit(std::strerror(EIO)));
    EXPECT_EQ(SystemReason(0, QStringLiteral("as given")), QStringLiteral("as given"));
}

}  // namespace
