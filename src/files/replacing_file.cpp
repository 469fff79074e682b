#include "files/replacing_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#ifndef _WIN32
#include <signal.h>
#include <unistd.h>
#endif

#include "files/file_access.h"

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

#ifndef _WIN32
bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The process that named `file` as a temporary file of `target` (see
// temporaryNameFor), or 0 when the name is not one of ours.
long writerOf(const std::string& file, const std::string& target) {
    const std::string prefix = target + ".", suffix = ".tmp";
    if (file.size() <= prefix.size() + suffix.size() || !file.starts_with(prefix) || !file.ends_with(suffix))
        return 0;
    const std::string_view middle =
        std::string_view(file).substr(prefix.size(), file.size() - prefix.size() - suffix.size());
    const size_t first = middle.find('-'), second = middle.find('-', first == middle.npos ? first : first + 1);
    if (first == middle.npos || second == middle.npos) return 0;
    const std::string_view process = middle.substr(0, first), count = middle.substr(first + 1, second - first - 1),
                           stamp = middle.substr(second + 1);
    if (!allDigits(process) || !allDigits(count) || !allDigits(stamp) || process.size() > 9) return 0;
    return std::stol(std::string(process));
}

// A writer killed between creating its temporary file and renaming it over
// the target leaves the file behind; once its process is gone nobody will
// finish or remove it. Files of processes still running are theirs.
void removeStaleTemporaries(const fs::path& target) {
    std::error_code ec;
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::string name = target.filename().string();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const long process = writerOf(it->path().filename().string(), name);
        if (process <= 0 || process == static_cast<long>(::getpid())) continue;
        if (::kill(static_cast<pid_t>(process), 0) == 0 || errno != ESRCH) continue;
        std::error_code removing;
        if (it->is_regular_file(removing)) fs::remove(it->path(), removing);
    }
}
#endif

// A device, pipe or socket where the file would go: no file may replace it.
bool existingButNoFile(const fs::path& target) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    return fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
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
    if (fs::is_directory(path, ec) || existingButNoFile(path) || existingButReadOnly(path)) return;
#ifndef _WIN32
    removeStaleTemporaries(path);
#endif
    for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
        temporary_ = temporaryNameFor(path);
        if (fs::exists(temporary_, ec)) continue;
        errno = 0;
        buffer_.open(temporary_, binary ? std::ios::out | std::ios::binary | std::ios::trunc
                                        : std::ios::out | std::ios::trunc);
        open_ = buffer_.is_open();
        if (!open_) error_ = errno;
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
    const bool closed = buffer_.closeKeepingError();
    if (!clean || !closed) {
        error_ = buffer_.error();
        discard();
        return false;
    }
    std::error_code ec;
    fs::rename(temporary_, target_, ec);
    if (ec) {
        error_ = ec.value();
        discard();
        return false;
    }
    done_ = true;
    return true;
}

std::string ReplacingFile::problem() const { return writeProblem(target_, error_); }

void ReplacingFile::discard() {
    done_ = true;
    if (buffer_.is_open()) buffer_.close();
    if (!temporary_.empty()) {
        std::error_code ec;
        fs::remove(temporary_, ec);
    }
}

}  // namespace brevix
