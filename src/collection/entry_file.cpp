#include "collection/entry_file.h"

#include <cerrno>
#include <cstring>
#include <vector>

#ifdef _WIN32
#include <fstream>

#include "files/file_access.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace brevix::collection {

namespace {

constexpr size_t CHUNK = 1 << 16;

std::string reasonOf(int error) { return error ? std::string(std::strerror(error)) : std::string("unknown error"); }

}  // namespace

#ifdef _WIN32

bool streamFile(const std::string& path, const std::function<bool(std::string_view)>& chunk, std::string& problem) {
    if (std::string reason = readProblem(path); !reason.empty()) {
        problem = reason;
        return false;
    }
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            problem = "cannot be opened";
            return false;
        }
        std::vector<char> buffer(CHUNK);
        while (in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            if (in.gcount() > 0 && !chunk(std::string_view(buffer.data(), static_cast<size_t>(in.gcount())))) break;
        }
        if (in.bad()) {
            problem = "reading it failed part way";
            return false;
        }
    } catch (const std::ios_base::failure&) {
        problem = "reading it failed part way";
        return false;
    }
    return true;
}

#else

bool streamFile(const std::string& path, const std::function<bool(std::string_view)>& chunk, std::string& problem) {
    // Non-blocking, so that a pipe put where a file was expected (even
    // between a look and the open) is not waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        problem = reasonOf(errno);
        return false;
    }
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0;
    if (!ok)
        problem = reasonOf(errno);
    else if (S_ISDIR(info.st_mode)) {
        problem = "a folder, not a file";
        ok = false;
    } else if (!S_ISREG(info.st_mode)) {
        problem = "not a regular file";
        ok = false;
    }
    std::vector<char> buffer(ok ? CHUNK : 0);
    while (ok) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got > 0) {
            if (!chunk(std::string_view(buffer.data(), static_cast<size_t>(got)))) break;
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            problem = reasonOf(errno);
            ok = false;
        }
    }
    ::close(fd);
    return ok;
}

#endif

bool readWholeFile(const std::string& path, std::string& bytes, std::string& problem, size_t limit) {
    std::string text;
    bool tooLarge = false;
    const bool read = streamFile(
        path,
        [&](std::string_view piece) {
            tooLarge = text.size() + piece.size() > limit;
            if (!tooLarge) text.append(piece);
            return !tooLarge;
        },
        problem);
    if (!read) return false;
    if (tooLarge) {
        problem = "larger than such a file can be";
        return false;
    }
    bytes = std::move(text);
    return true;
}

}  // namespace brevix::collection
