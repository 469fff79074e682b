// Reading a rough's mesh: binary or ASCII STL, or Wavefront OBJ. Scanners
// and their apps write all three; the first line of a binary STL is free
// text and often starts with "solid", so the binary form is recognised by
// its length, which its triangle count fixes exactly.
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string_view>

#include "files/file_messages.h"
#include "platform/strformat.h"
#include "rough/rough_fit.h"

namespace brevix::rough {

namespace {

constexpr size_t STL_HEADER_BYTES = 80;
constexpr size_t STL_TRIANGLE_BYTES = 50;

MeshRead meshError(std::string text) {
    MeshRead read;
    read.error = std::move(text);
    return read;
}

MeshRead notAMesh(const std::string& name, const std::string& why) {
    return meshError("Not an STL or OBJ mesh: " + name + (why.empty() ? "" : " (" + why + ")"));
}

bool endsWithObj(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".obj";
}

uint32_t littleEndian32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

float littleEndianFloat(const char* p) {
    const uint32_t bits = littleEndian32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool allFinite(Vec3 p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// The count in the header is trusted only when the length agrees with it,
// so a damaged count never asks for memory the file does not back.
std::optional<uint32_t> binaryStlTriangles(const std::string& bytes) {
    if (bytes.size() < STL_HEADER_BYTES + 4) return std::nullopt;
    const uint32_t count = littleEndian32(bytes.data() + STL_HEADER_BYTES);
    if (bytes.size() != STL_HEADER_BYTES + 4 + uint64_t(count) * STL_TRIANGLE_BYTES) return std::nullopt;
    return count;
}

MeshRead readBinaryStl(const std::string& bytes, uint32_t count, const std::string& name) {
    Mesh mesh;
    mesh.points.reserve(size_t(count) * 3);
    mesh.triangles.reserve(count);
    const char* p = bytes.data() + STL_HEADER_BYTES + 4;
    for (uint32_t t = 0; t < count; ++t, p += STL_TRIANGLE_BYTES) {
        std::array<uint32_t, 3> corners{};
        for (int c = 0; c < 3; ++c) {
            const char* q = p + 12 + 12 * c;  // after the facet normal
            const Vec3 point{littleEndianFloat(q), littleEndianFloat(q + 4), littleEndianFloat(q + 8)};
            if (!allFinite(point)) return notAMesh(name, strprintf("triangle %u has a corner that is not a number", t + 1));
            corners[c] = static_cast<uint32_t>(mesh.points.size());
            mesh.points.push_back(point);
        }
        mesh.triangles.push_back(corners);
    }
    MeshRead read;
    read.mesh = std::move(mesh);
    return read;
}

// Splits text into blank-separated words, line by line.
class Words {
public:
    explicit Words(std::string_view text) : text_(text) {}
    // The next word, empty at the end.
    std::string_view next() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            if (text_[pos_] == '\n') ++line_;
            ++pos_;
        }
        const size_t start = pos_;
        while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        return text_.substr(start, pos_ - start);
    }
    // The rest of the current line, for names and comments.
    void skipLine() {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    }
    size_t line() const { return line_; }

private:
    std::string_view text_;
    size_t pos_ = 0;
    size_t line_ = 1;
};

std::optional<double> meshNumber(std::string_view word) {
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// "solid ... facet normal n n n outer loop vertex x y z (x3) endloop endfacet
// ... endsolid". A loop of more than three corners, which a few writers
// emit, is fanned.
MeshRead readAsciiStl(const std::string& bytes, const std::string& name) {
    Words words(bytes);
    Mesh mesh;
    std::vector<uint32_t> loop;
    bool inLoop = false;
    bool sawFacet = false;
    words.next();  // "solid"
    words.skipLine();
    for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
        const size_t line = words.line();
        auto fail = [&](const std::string& why) {
            return notAMesh(name, strprintf("line %zu: %s", line, why.c_str()));
        };
        if (word == "vertex") {
            if (!inLoop) return fail("a vertex outside an outer loop");
            Vec3 point;
            for (double* coordinate : {&point.x, &point.y, &point.z}) {
                const std::optional<double> value = meshNumber(words.next());
                if (!value) return fail("a vertex needs three numbers");
                *coordinate = *value;
            }
            loop.push_back(static_cast<uint32_t>(mesh.points.size()));
            mesh.points.push_back(point);
        } else if (word == "outer") {
            if (words.next() != "loop" || inLoop) return fail("\"outer loop\" expected");
            inLoop = true;
            loop.clear();
        } else if (word == "endloop") {
            if (!inLoop || loop.size() < 3) return fail("a loop needs at least three vertices");
            for (size_t i = 1; i + 1 < loop.size(); ++i) mesh.triangles.push_back({loop[0], loop[i], loop[i + 1]});
            inLoop = false;
        } else if (word == "facet") {
            if (inLoop) return fail("a facet inside a loop");
            sawFacet = true;
            words.skipLine();  // the normal, recomputed from the corners
        } else if (word == "endfacet") {
            if (inLoop) return fail("endfacet before endloop");
        } else if (word == "endsolid" || word == "solid") {
            words.skipLine();  // the solid's name; several solids are read as one mesh
        } else {
            return fail("unexpected \"" + std::string(word.substr(0, 40)) + "\"");
        }
    }
    if (inLoop) return notAMesh(name, "the last loop is not closed");
    if (!sawFacet) return notAMesh(name, "no facets");
    MeshRead read;
    read.mesh = std::move(mesh);
    return read;
}

// One corner of an "f" line: "v", "v/t", "v//n" or "v/t/n", 1-based, or
// negative counting back from the latest vertex.
std::optional<uint32_t> objCorner(std::string_view word, size_t pointCount) {
    const std::string_view index = word.substr(0, word.find('/'));
    long long value = 0;
    const auto [end, ec] = std::from_chars(index.data(), index.data() + index.size(), value);
    if (ec != std::errc() || end != index.data() + index.size() || value == 0) return std::nullopt;
    const long long resolved = value > 0 ? value - 1 : static_cast<long long>(pointCount) + value;
    if (resolved < 0 || resolved >= static_cast<long long>(pointCount)) return std::nullopt;
    return static_cast<uint32_t>(resolved);
}

MeshRead readObj(const std::string& bytes, const std::string& name) {
    Mesh mesh;
    std::vector<uint32_t> polygon;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        ++lineNumber;
        Words words(std::string_view(bytes).substr(start, end - start));
        start = end + 1;
        const std::string_view keyword = words.next();
        auto fail = [&](const std::string& why) {
            return meshError(strprintf("%s line %zu: %s", name.c_str(), lineNumber, why.c_str()));
        };
        if (keyword == "v") {
            Vec3 point;
            for (double* coordinate : {&point.x, &point.y, &point.z}) {
                const std::optional<double> value = meshNumber(words.next());
                if (!value) return fail("a vertex needs three numbers");
                *coordinate = *value;
            }
            if (mesh.points.size() >= std::numeric_limits<uint32_t>::max()) return fail("too many vertices");
            mesh.points.push_back(point);
        } else if (keyword == "f") {
            polygon.clear();
            for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
                const std::optional<uint32_t> corner = objCorner(word, mesh.points.size());
                if (!corner)
                    return fail("face corner \"" + std::string(word.substr(0, 40)) + "\" names no vertex read so far");
                polygon.push_back(*corner);
            }
            if (polygon.size() < 3) return fail("a face needs at least three corners");
            for (size_t i = 1; i + 1 < polygon.size(); ++i)
                mesh.triangles.push_back({polygon[0], polygon[i], polygon[i + 1]});
        }
        // Normals, texture coordinates, groups, materials, lines and
        // comments say nothing about the solid.
    }
    if (mesh.triangles.empty()) return notAMesh(name, "no faces");
    MeshRead read;
    read.mesh = std::move(mesh);
    return read;
}

bool startsWithWord(const std::string& bytes, std::string_view word) {
    size_t i = 0;
    while (i < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[i]))) ++i;
    return bytes.compare(i, word.size(), word) == 0;
}

// Text lines of an OBJ: the first keyword of some line is "v".
bool looksLikeObj(const std::string& bytes) {
    for (size_t start = 0; start < bytes.size() && start < (1u << 20);) {
        size_t i = start;
        while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t')) ++i;
        if (bytes.compare(i, 2, "v ") == 0 || bytes.compare(i, 2, "v\t") == 0) return true;
        const size_t end = bytes.find('\n', start);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

}  // namespace

MeshRead readMeshBytes(const std::string& bytes, const std::string& name) {
    if (endsWithObj(name)) return readObj(bytes, name);
    if (const std::optional<uint32_t> count = binaryStlTriangles(bytes)) return readBinaryStl(bytes, *count, name);
    if (startsWithWord(bytes, "solid")) return readAsciiStl(bytes, name);
    if (looksLikeObj(bytes)) return readObj(bytes, name);
    if (bytes.size() >= STL_HEADER_BYTES + 4) {
        const uint64_t count = littleEndian32(bytes.data() + STL_HEADER_BYTES);
        return notAMesh(name, strprintf("a binary STL of %llu triangles would be %llu bytes, not %zu",
                                        static_cast<unsigned long long>(count),
                                        static_cast<unsigned long long>(STL_HEADER_BYTES + 4 + count * STL_TRIANGLE_BYTES),
                                        bytes.size()));
    }
    return notAMesh(name, "");
}

MeshRead readMeshFile(const std::string& path) {
    // A folder opens as a stream whose length is nonsense.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return meshError(strprintf(filemsg::CANNOT_OPEN_TO_READ, path.c_str()));
    std::ifstream in(path, std::ios::binary);
    if (!in) return meshError(strprintf(filemsg::CANNOT_OPEN_TO_READ, path.c_str()));
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return meshError("Cannot read " + path + ".");
    in.seekg(0, std::ios::beg);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (!in.read(bytes.data(), size)) return meshError("Cannot read " + path + ".");
    return readMeshBytes(bytes, path);
}

}  // namespace brevix::rough
