#include "platform/file_stamp.h"

#include <sys/stat.h>

namespace brevix {

std::optional<FileStamp> fileStampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    FileStamp stamp;
    stamp.device = static_cast<uint64_t>(info.st_dev);
    stamp.inode = static_cast<uint64_t>(info.st_ino);
    stamp.size = static_cast<uint64_t>(info.st_size);
#ifdef _WIN32
    stamp.modifiedNs = static_cast<int64_t>(info.st_mtime) * 1000000000;
#else
    stamp.modifiedNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
#endif
    return stamp;
}

}  // namespace brevix
