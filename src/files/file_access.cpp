#include "files/file_access.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "platform/paths.h"
#include "platform/strformat.h"

namespace brevix {

namespace fs = std::filesystem;

namespace {

constexpr const char* NO_SUCH_FILE = "There is no such file.";
constexpr const char* NO_SUCH_FOLDER = "There is no folder %s.";
constexpr const char* NOT_A_FOLDER = "%s is a file, not a folder.";
constexpr const char* IS_A_FOLDER = "It is a folder, not a file.";
constexpr const char* NOT_REGULAR = "It is a device, a pipe or a socket, not a file.";
constexpr const char* PERMISSION_DENIED = "Permission denied.";
constexpr const char* READ_ONLY_DISK = "The disk is read-only.";
constexpr const char* DISK_FULL = "The disk is full.";

fs::path folderOf(const std::string& path) {
    fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// The nearest folder on the way to `path` that is missing or is no folder,
// as the reason; "" when the whole way is there.
std::string wayProblem(const fs::path& folder) {
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (fs::is_directory(status)) return {};
    if (status.type() == fs::file_type::not_found) {
        // Name the outermost folder that is missing: that is the one to create.
        fs::path missing = folder;
        for (fs::path up = folder.parent_path(); !up.empty() && up != missing; up = up.parent_path()) {
            if (fs::exists(up, ec)) break;
            missing = up;
        }
        if (fs::exists(missing.parent_path(), ec) && !fs::is_directory(missing.parent_path(), ec))
            return strprintf(NOT_A_FOLDER, pathForMessage(missing.parent_path().string()).c_str());
        return strprintf(NO_SUCH_FOLDER, pathForMessage(missing.string()).c_str());
    }
    if (status.type() != fs::file_type::unknown && status.type() != fs::file_type::none)
        return strprintf(NOT_A_FOLDER, pathForMessage(folder.string()).c_str());
    return {};
}

std::string systemReason(int error) {
    switch (error) {
    case 0: return {};
    case EACCES:
    case EPERM: return PERMISSION_DENIED;
    case EROFS: return READ_ONLY_DISK;
    case ENOSPC: return DISK_FULL;
    case EISDIR: return IS_A_FOLDER;
    case ENOENT: return NO_SUCH_FILE;
    default: break;
    }
    std::string text = std::strerror(error);
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

}  // namespace

std::string readProblem(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    switch (status.type()) {
    case fs::file_type::regular: break;
    case fs::file_type::directory: return IS_A_FOLDER;
    case fs::file_type::not_found: {
        std::string way = wayProblem(folderOf(path));
        return way.empty() ? std::string(NO_SUCH_FILE) : way;
    }
    case fs::file_type::none:
    case fs::file_type::unknown: {
        if (ec == std::errc::not_a_directory) return wayProblem(folderOf(path));
        const std::string reason = systemReason(ec.value());
        return reason.empty() ? std::string(PERMISSION_DENIED) : reason;
    }
    default: return NOT_REGULAR;
    }
#ifndef _WIN32
    if (::access(path.c_str(), R_OK) != 0) return systemReason(errno);
#endif
    return {};
}

std::string writeProblem(const std::string& path, int error) {
    const fs::path folder = folderOf(path);
    if (std::string way = wayProblem(folder); !way.empty()) return way;
    std::error_code ec;
    if (fs::is_directory(path, ec)) return IS_A_FOLDER;
    if (const fs::file_status status = fs::status(path, ec); fs::exists(status) && !fs::is_regular_file(status))
        return NOT_REGULAR;
#ifndef _WIN32
    // The file is written beside its target and renamed over it: the folder
    // must take new files, and an existing target must be writable.
    if (error == 0) {
        if (::access(folder.c_str(), W_OK) != 0) return systemReason(errno);
        if (fs::exists(path, ec) && ::access(path.c_str(), W_OK) != 0) return systemReason(errno);
    }
#endif
    return systemReason(error);
}

std::string fileMessage(const char* format, const std::string& path, const std::string& reason) {
    std::string text = strprintf(format, pathForMessage(path).c_str());
    if (!reason.empty()) text += "\n" + reason;
    return text;
}

}  // namespace brevix
