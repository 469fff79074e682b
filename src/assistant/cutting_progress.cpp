#include "assistant/cutting_progress.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "files/replacing_file.h"

namespace brevix {

namespace {

const char kHeader[] = "Brevix cutting progress 1";
// Planes are written with every digit, so a design read again from its file
// matches exactly; the tolerance covers a regenerated stone.
constexpr double kPlaneTolerance = 1e-7;
constexpr size_t kMaxFacets = 100000;

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
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
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
            result.error = "Cutting progress: line " + std::to_string(lineNumber) + " cannot be read.";
            return result;
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

ProgressReadResult loadProgress(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {{}, "Cannot read " + path + "."};
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ProgressReadResult result = readProgressText(bytes);
    if (!result.error.empty()) result.error = path + ": " + result.error;
    return result;
}

std::string saveProgress(const std::string& path, const CuttingProgress& progress) {
    if (path.empty()) return {};
    std::error_code ec;
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
