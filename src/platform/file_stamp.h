#pragma once
// What tells one version of a file from another without reading it: which
// file it is, its size and when it was last written. A document keeps the
// stamp of the file it opened or saved, so that it notices when another
// window or program has written the file since.
#include <cstdint>
#include <optional>
#include <string>

namespace brevix {

struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// None when `path` names nothing that can be looked at.
std::optional<FileStamp> fileStampOf(const std::string& path);

}  // namespace brevix
