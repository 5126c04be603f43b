#include "framework/filestamp.h"

#include <sys/stat.h>

FileStamp FileStamp::Of(const std::string& localPath) {
    FileStamp stamp;
    struct stat status {};
    if (::stat(localPath.c_str(), &status) != 0) {
        return stamp;
    }
    stamp.exists = true;
    stamp.regular = S_ISREG(status.st_mode);
    stamp.device = static_cast<std::uint64_t>(status.st_dev);
    stamp.inode = static_cast<std::uint64_t>(status.st_ino);
    stamp.size = static_cast<std::int64_t>(status.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                       static_cast<std::int64_t>(status.st_mtim.tv_nsec);
    return stamp;
}
