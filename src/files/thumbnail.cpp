#include "files/thumbnail.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <vector>

#include "files/binary_io.h"
#include "files/export_files.h"
#include "files/facet_ring.h"
#include "files/file_messages.h"
#include "files/memory_input.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

constexpr int32_t MAX_COUNT = 65535;

char coordinateByte(double value) {
    // Truncation toward zero of value * 115 + 0.5, low 8 bits. The clamp only
    // keeps a wild coordinate from overflowing the conversion.
    const double scaled = std::clamp(value * THB_SCALE + 0.5, -1e9, 1e9);
    const long long whole = std::isfinite(scaled) ? static_cast<long long>(scaled) : 0;
    return static_cast<char>(static_cast<unsigned long long>(whole) & 0xFF);
}

void pointNumber(std::string& out, int32_t number) {
    if (number < 255) {
        out.push_back(static_cast<char>(number));
    } else {
        out.push_back(static_cast<char>(0xFF));
        le::putU16(out, static_cast<uint16_t>(number));
    }
}

// A point number, or -1 at the end of the stream.
int32_t readPointNumber(std::streambuf* in) {
    const int first = le::getByte(in);
    if (first != 255) return first;
    uint16_t wide;
    if (!le::getU16(in, wide)) return -1;
    return wide;
}

void emptyStone(Stone& stone) {
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        stone.facets[i].name.clear();
        stone.facets[i].instruction.clear();
    }
    stone.nFacet = stone.nVertex = stone.nEdge = 0;
    stone.nRough = stone.nGirdle = 0;
}

void appendEdge(Stone& stone, int32_t v0, int32_t v1, int32_t facet) {
    if (stone.nEdge >= stone.maxEdge) stone.growEdges(stone.nEdge);
    Edge& e = stone.edges[stone.nEdge++];
    e = Edge{};
    e.v = {v0, v1};
    e.f = {facet, facet};
}

}  // namespace

std::string thumbnailBytes(const Stone& stone) {
    const int32_t points = stone.nVertex + 1;
    if (stone.nFacet > MAX_COUNT || points > MAX_COUNT) return {};
    std::string out;
    le::putU16(out, static_cast<uint16_t>(stone.nFacet));
    le::putU16(out, static_cast<uint16_t>(points));
    out.append(3, '\0');
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        const Vertex& v = stone.vertices[i];
        out.push_back(coordinateByte(v.x));
        out.push_back(coordinateByte(v.y));
        out.push_back(coordinateByte(v.z));
    }
    for (int32_t f = 0; f < stone.nFacet; ++f) {
        const Facet& facet = stone.facets[f];
        out.push_back(static_cast<char>((facet.a < 0 ? 1 : 0) | (facet.b < 0 ? 2 : 0) |
                                        (facet.c < 0 ? 4 : 0)));
    }
    std::vector<int32_t> ring;
    for (int32_t f = 0; f < stone.nFacet; ++f) {
        facetRing(stone, f, ring);
        for (int32_t v : ring) pointNumber(out, v + 1);
        if (!ring.empty()) pointNumber(out, ring[0] + 1);
    }
    out.push_back(static_cast<char>(THB_END_MARK));
    return out;
}

bool writeThb(const Stone& stone, const std::string& path, Diagnostics& notes) {
    const std::string bytes = thumbnailBytes(stone);
    if (bytes.empty()) {
        notes.warning(DiagCode::FileThbTooLarge, strprintf(filemsg::THB_TOO_LARGE, stone.nFacet, stone.nVertex + 1));
        return false;
    }
    return writeExportFile(path, bytes, filemsg::CANNOT_OPEN_TO_WRITE, true, notes);
}

bool readThb(Stone& stone, std::istream& in) {
    std::streambuf* buffer = in.rdbuf();
    uint16_t facetCount = 0, pointCount = 0;
    if (!buffer || !le::getU16(buffer, facetCount) || !le::getU16(buffer, pointCount)) {
        emptyStone(stone);
        stone.addNote(DiagKind::Warning, DiagCode::FileThbEndedAbnormally, filemsg::THB_ENDED_ABNORMALLY);
        return false;
    }
    const int32_t F = facetCount, P = pointCount;
    // The points and octants must all be there before anything is sized by the counts.
    std::vector<unsigned char> fixed(static_cast<size_t>(P) * 3 + static_cast<size_t>(F));
    if (!le::readBytes(buffer, fixed.data(), static_cast<std::streamsize>(fixed.size()))) {
        emptyStone(stone);
        stone.addNote(DiagKind::Warning, DiagCode::FileThbEndedAbnormally, filemsg::THB_ENDED_ABNORMALLY);
        return false;
    }
    emptyStone(stone);
    if (stone.maxFacet < F) stone.growFacets(F);
    if (stone.maxVertex < P) stone.growVertices(P);
    if (stone.maxEdge < F + P) stone.growEdges(F + P);
    stone.preform.reset();
    stone.nVertex = P;
    for (int32_t k = 0; k < P; ++k) {
        Vertex& v = stone.vertices[k];
        v = Vertex{};
        v.x = static_cast<signed char>(fixed[3 * k]) / THB_SCALE;
        v.y = static_cast<signed char>(fixed[3 * k + 1]) / THB_SCALE;
        v.z = static_cast<signed char>(fixed[3 * k + 2]) / THB_SCALE;
    }
    const double third = 1 / std::sqrt(3.0);
    stone.nFacet = F;
    for (int32_t k = 0; k < F; ++k) {
        const unsigned char octant = fixed[3 * static_cast<size_t>(P) + k];
        Facet& f = stone.facets[k];
        f.name.clear();
        f.instruction.clear();
        f.init((octant & 1) ? -third : third, (octant & 2) ? -third : third,
               (octant & 4) ? -third : third, 1, k, false);
        f.flags = 0;
    }

    for (int32_t k = 0; k < F; ++k) {
        const int32_t first = readPointNumber(buffer);
        if (first < 0) {
            stone.addNote(DiagKind::Warning, DiagCode::FileThbEndedAbnormally, filemsg::THB_ENDED_ABNORMALLY);
            return true;  // what was read stays
        }
        if (first >= P) {
            stone.addNote(DiagKind::Warning, DiagCode::FileThbPointOutOfBounds, filemsg::THB_POINT_OUT_OF_BOUNDS);
            emptyStone(stone);
            return false;
        }
        const int32_t firstEdge = stone.nEdge;
        double nx = 0, ny = 0, nz = 0;
        int32_t prev = first;
        for (;;) {
            const int32_t n = readPointNumber(buffer);
            if (n < 0) {
                stone.addNote(DiagKind::Warning, DiagCode::FileThbEndedAbnormally, filemsg::THB_ENDED_ABNORMALLY);
                return true;
            }
            if (n >= P) {
                stone.addNote(DiagKind::Warning, DiagCode::FileThbPointOutOfBounds, filemsg::THB_POINT_OUT_OF_BOUNDS);
                emptyStone(stone);
                return false;
            }
            if (n == prev && n != first) continue;
            const Vertex& p = stone.vertices[prev];
            const Vertex& q = stone.vertices[n];
            nx += (p.z + q.z) * (q.y - p.y);
            ny += (p.x + q.x) * (q.z - p.z);
            nz += (p.y + q.y) * (q.x - p.x);
            appendEdge(stone, prev, n, k);
            if (n == first) break;
            prev = n;
        }
        Facet& f = stone.facets[k];
        const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
        // A ring without area keeps the plane its octant gave it.
        if (len > 0 && std::isfinite(len)) {
            double a = nx / len, b = ny / len, c = nz / len;
            if (a * f.a + b * f.b + c * f.c < 0) {
                a = -a;
                b = -b;
                c = -c;
            }
            double sum = 0;
            for (int32_t j = firstEdge; j < stone.nEdge; ++j) {
                const Vertex& v = stone.vertices[stone.edges[j].v[0]];
                sum += a * v.x + b * v.y + c * v.z;
            }
            f.init(a, b, c, sum / (stone.nEdge - firstEdge), k, false);
        }
    }
    if (le::getByte(buffer) != THB_END_MARK) stone.addNote(DiagKind::Warning, DiagCode::FileThbEndedAbnormally, filemsg::THB_ENDED_ABNORMALLY);
    return true;
}

bool readThb(Stone& stone, std::span<const unsigned char> bytes) {
    MemoryInput in(bytes);
    return readThb(stone, in);
}

}  // namespace brevix
