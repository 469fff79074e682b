#include "assistant/cutting_progress.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <tuple>

#include "files/file_access.h"
#include "files/replacing_file.h"
#include "platform/number_parse.h"

namespace brevix {

namespace {

const char kHeader[] = "Brevix cutting progress 1";
// Planes are written with every digit, so a design read again from its file
// matches exactly; the tolerance covers a regenerated stone.
constexpr double kPlaneTolerance = 1e-7;
constexpr size_t kMaxFacets = 100000;
// Four planes' numbers, an angle, an index and a name of at most a few
// hundred bytes: what a file of the most facets can hold, with room.
constexpr size_t kMaxLineBytes = 1024;
constexpr size_t kMaxFileBytes = kMaxFacets * kMaxLineBytes;

std::string cleanField(const std::string& s) {
    std::string out = s;
    for (char& ch : out)
        if (static_cast<unsigned char>(ch) < 0x20) ch = ' ';
    return out;
}

bool samePlane(const CutFacet& cut, const Facet& f) {
    return std::fabs(cut.a - f.a) < kPlaneTolerance && std::fabs(cut.b - f.b) < kPlaneTolerance &&
           std::fabs(cut.c - f.c) < kPlaneTolerance && std::fabs(cut.d - f.d) < kPlaneTolerance;
}

bool parseNumber(const std::string& text, double& value) {
    size_t length = 0;
    const std::optional<double> read = leadingNumber(text, &length);
    if (!read || length != text.size() || !std::isfinite(*read)) return false;
    value = *read;
    return true;
}

std::vector<std::string> splitTabs(std::string_view line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.emplace_back(line.substr(start, tab == std::string_view::npos ? line.npos : tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return fields;
}

}  // namespace

std::string progressPathFor(const std::string& designPath) { return designPath + ".progress"; }

std::string writeProgressText(const CuttingProgress& progress) {
    std::string out = std::string(kHeader) + "\n";
    char buffer[160];
    for (const CutFacet& f : progress.cut) {
        std::snprintf(buffer, sizeof buffer, "cut\t%.17g\t%.17g\t%.17g\t%.17g\t", f.a, f.b, f.c, f.d);
        out += buffer;
        out += cleanField(f.angle) + "\t" + cleanField(f.index) + "\t" + cleanField(f.name) + "\n";
    }
    return out;
}

ProgressReadResult readProgressText(std::string_view bytes) {
    ProgressReadResult result;
    size_t pos = 0;
    int lineNumber = 0;
    bool headerSeen = false;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!headerSeen) {
            if (line != kHeader) {
                result.error = "Not a cutting progress file.";
                return result;
            }
            headerSeen = true;
            continue;
        }
        if (line.empty()) continue;
        const std::vector<std::string> fields = splitTabs(line);
        CutFacet f;
        if (fields.size() != 8 || fields[0] != "cut" || !parseNumber(fields[1], f.a) ||
            !parseNumber(fields[2], f.b) || !parseNumber(fields[3], f.c) ||
            !parseNumber(fields[4], f.d)) {
            // The first bad line is named; the good ones after it still count.
            if (result.error.empty())
                result.error = "Cutting progress: line " + std::to_string(lineNumber) + " cannot be read.";
            continue;
        }
        if (result.progress.cut.size() >= kMaxFacets) {
            result.error = "Cutting progress: too many facets.";
            return result;
        }
        f.angle = fields[5];
        f.index = fields[6];
        f.name = fields[7];
        result.progress.cut.push_back(std::move(f));
    }
    if (!headerSeen) result.error = "Not a cutting progress file.";
    return result;
}

namespace {

ProgressReadResult cannotRead(const std::string& path, const std::string& reason) {
    ProgressReadResult result;
    result.error = "Cannot read " + path + "." + (reason.empty() ? std::string() : " " + reason);
    result.leaveAlone = true;
    return result;
}

}  // namespace

ProgressReadResult loadProgress(const std::string& path) {
    std::error_code ec;
    if (path.empty()) return {};
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return {};
    // A pipe in the file's place would hold the window in open() for good.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) return {};  // a link to nothing: no progress yet
        return cannotRead(path, readProblem(path).empty() ? std::strerror(error) : readProblem(path));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return cannotRead(path, readProblem(path));
    }
    if (static_cast<uint64_t>(info.st_size) > kMaxFileBytes) {
        ::close(fd);
        return cannotRead(path, "It is larger than any cutting progress file.");
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return cannotRead(path, std::strerror(error));
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<size_t>(got));
        // A file still growing is read no further than any progress file goes.
        if (bytes.size() > kMaxFileBytes) {
            ::close(fd);
            return cannotRead(path, "It is larger than any cutting progress file.");
        }
    }
    ::close(fd);
    ProgressReadResult result = readProgressText(bytes);
    // A file of another kind is not ours to replace.
    result.leaveAlone = result.error == "Not a cutting progress file.";
    if (!result.error.empty()) result.error = path + ": " + result.error;
    return result;
}

std::string saveProgress(const std::string& path, const CuttingProgress& progress) {
    if (path.empty()) return {};
    std::error_code ec;
    // A folder, pipe or device in the file's place is neither removed nor replaced.
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() != std::filesystem::file_type::not_found &&
        status.type() != std::filesystem::file_type::regular)
        return "Cannot write " + path + ". " + readProblem(path);
    if (progress.cut.empty()) {
        std::filesystem::remove(path, ec);
        return ec ? "Cannot remove " + path + "." : std::string();
    }
    ReplacingFile file(path, true);
    if (!file.isOpen()) return "Cannot write " + path + ".";
    file.stream() << writeProgressText(progress);
    if (!file.commit()) return "Error writing " + path + ". Disk full?";
    return {};
}

namespace {

// Records are compared by their planes as written, every digit kept, so
// that two windows on one design know each other's facets exactly.
using PlaneKey = std::tuple<double, double, double, double>;

PlaneKey keyOf(const CutFacet& f) { return {f.a, f.b, f.c, f.d}; }

std::set<PlaneKey> keysOf(const CuttingProgress& progress) {
    std::set<PlaneKey> keys;
    for (const CutFacet& f : progress.cut) keys.insert(keyOf(f));
    return keys;
}

}  // namespace

CuttingProgress mergeProgress(const CuttingProgress& base, const CuttingProgress& ours,
                              const CuttingProgress& theirs) {
    const std::set<PlaneKey> before = keysOf(base);
    const std::set<PlaneKey> now = keysOf(ours);
    CuttingProgress merged;
    std::set<PlaneKey> taken;
    // Their order first: the file's records stay where they were.
    for (const CutFacet& f : theirs.cut) {
        const PlaneKey key = keyOf(f);
        const bool unmarkedHere = before.count(key) && !now.count(key);
        if (!unmarkedHere && taken.insert(key).second) merged.cut.push_back(f);
    }
    for (const CutFacet& f : ours.cut) {
        const PlaneKey key = keyOf(f);
        if (!before.count(key) && taken.insert(key).second) merged.cut.push_back(f);
    }
    return merged;
}

ProgressSaveResult saveProgressMerged(const std::string& path, const CuttingProgress& base,
                                      const CuttingProgress& ours) {
    ProgressSaveResult result;
    if (path.empty()) {
        result.saved = ours;
        return result;
    }
    const ProgressReadResult now = loadProgress(path);
    if (now.leaveAlone) {
        result.saved = base;
        result.error = now.error + " The progress is not saved.";
        return result;
    }
    result.saved = mergeProgress(base, ours, now.progress);
    result.error = saveProgress(path, result.saved);
    if (!result.error.empty()) result.saved = base;
    return result;
}

int findCut(const CuttingProgress& progress, const Stone& stone, int32_t facet) {
    if (facet < 0 || facet >= stone.nFacet) return -1;
    const Facet& f = stone.facets[facet];
    for (size_t k = 0; k < progress.cut.size(); ++k)
        if (samePlane(progress.cut[k], f)) return static_cast<int>(k);
    return -1;
}

std::vector<CutFacet> keepFacetsOf(CuttingProgress& progress, const Stone& stone) {
    std::vector<CutFacet> kept, reset;
    for (CutFacet& cut : progress.cut) {
        bool found = false;
        for (int32_t i = 0; i < stone.nFacet && !found; ++i)
            found = !stone.facets[i].isRough() && samePlane(cut, stone.facets[i]);
        (found ? kept : reset).push_back(std::move(cut));
    }
    progress.cut = std::move(kept);
    return reset;
}

std::string resetReport(const std::vector<CutFacet>& reset) {
    std::string out;
    for (const CutFacet& f : reset) {
        std::string line = f.name.empty() ? std::string("(unnamed)") : f.name;
        line += " " + f.angle + "\xB0";
        if (f.index == "Table" || f.index == "Culet")
            line += " " + f.index;
        else
            line += " index " + f.index;
        out += line + "\n";
    }
    return out;
}

}  // namespace brevix
