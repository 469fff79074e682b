#include "files/replacing_file.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace brevix {

namespace fs = std::filesystem;

namespace {

std::atomic<unsigned> counter{0};

// A name beside the target that no other writer of this process or another
// one picks at the same moment.
std::string temporaryNameFor(const fs::path& target) {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
#ifndef _WIN32
    const long process = static_cast<long>(::getpid());
#else
    const long process = 0;
#endif
    fs::path name = target;
    name += "." + std::to_string(process) + "-" + std::to_string(counter++) + "-" +
            std::to_string(static_cast<unsigned long long>(stamp) % 1000000007ULL) + ".tmp";
    return name.string();
}

bool existingButReadOnly(const fs::path& target) {
#ifndef _WIN32
    std::error_code ec;
    return fs::exists(target, ec) && ::access(target.c_str(), W_OK) != 0;
#else
    std::error_code ec;
    if (!fs::exists(target, ec)) return false;
    return (fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none;
#endif
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& target, bool binary) {
    std::error_code ec;
    fs::path path(target);
    // Saving through a link writes the file it points to, as writing in place would.
    if (fs::is_symlink(path, ec)) {
        fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec) path = resolved;
    }
    target_ = path.string();
    if (fs::is_directory(path, ec) || existingButReadOnly(path)) return;
    for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
        temporary_ = temporaryNameFor(path);
        if (fs::exists(temporary_, ec)) continue;
        stream_.open(temporary_, binary ? std::ios::out | std::ios::binary | std::ios::trunc
                                        : std::ios::out | std::ios::trunc);
        open_ = stream_.is_open();
    }
    if (!open_) {
        temporary_.clear();
        return;
    }
    // The new file keeps the permissions of the one it replaces.
    if (fs::exists(path, ec)) {
        const fs::perms perms = fs::status(path, ec).permissions();
        if (!ec) fs::permissions(temporary_, perms, ec);
    }
}

ReplacingFile::~ReplacingFile() {
    if (!done_) discard();
}

bool ReplacingFile::commit() {
    if (!open_ || done_) return false;
    stream_.flush();
    const bool clean = !stream_.fail();
    stream_.close();
    if (!clean || stream_.fail()) {
        discard();
        return false;
    }
    std::error_code ec;
    fs::rename(temporary_, target_, ec);
    if (ec) {
        discard();
        return false;
    }
    done_ = true;
    return true;
}

void ReplacingFile::discard() {
    done_ = true;
    if (stream_.is_open()) stream_.close();
    if (!temporary_.empty()) {
        std::error_code ec;
        fs::remove(temporary_, ec);
    }
}

}  // namespace brevix
