// Binary STL: a fan of triangles over every facet, each with the facet's
// outward normal, for 3-D printing and jewellery CAD.
#include <bit>
#include <cstring>
#include <vector>

#include "files/export_files.h"
#include "files/exports.h"
#include "files/file_messages.h"
#include "files/mesh_facets.h"

namespace brevix {

namespace {

// A float holds about seven digits: an edge shorter than a ten-thousandth
// of the stone (well under a micron on a stone of a few millimetres) would
// make triangles whose direction is lost to rounding, which mesh checkers
// then "repair". Such edges become one point.
constexpr double STL_WELD_FRACTION = 1e-4;

// STL is little-endian whatever the machine.
void appendUint32(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void appendFloat(std::string& out, double value) {
    appendUint32(out, std::bit_cast<uint32_t>(static_cast<float>(value)));
}

void appendPoint(std::string& out, const Vertex& v, double scale) {
    appendFloat(out, v.x * scale);
    appendFloat(out, v.y * scale);
    appendFloat(out, v.z * scale);
}

// 80 bytes. Readers take a header that starts with "solid" for the text
// form of STL, so this one never does.
std::string header(const Stone& stone, bool millimetres) {
    std::string text = millimetres ? "Brevix gemstone mesh, mm" : "Brevix gemstone mesh, design units";
    if (!stone.heading[0].empty()) text += ": " + stone.heading[0];
    text.resize(80, '\0');
    for (char& c : text)
        if (c != '\0' && static_cast<unsigned char>(c) < 0x20) c = ' ';
    return text;
}

}  // namespace

std::string stlBytes(const Stone& stone, double millimetresPerUnit) {
    const double scale = millimetresPerUnit > 0 ? millimetresPerUnit : 1;
    std::string body;
    uint32_t triangles = 0;
    const std::vector<int32_t> standsFor = weldShortEdges(stone, STL_WELD_FRACTION);
    std::vector<int32_t> ring;
    for (int32_t f = 0; f < stone.nFacet; ++f) {
        outwardRing(stone, f, ring);
        weldRing(ring, standsFor);
        const size_t n = ring.size();
        if (n < 3) continue;
        const size_t apex = fanApex(stone, ring);
        const Facet& facet = stone.facets[f];
        for (size_t k = 1; k + 1 < n; ++k) {
            appendFloat(body, facet.a);
            appendFloat(body, facet.b);
            appendFloat(body, facet.c);
            appendPoint(body, stone.vertices[ring[apex]], scale);
            appendPoint(body, stone.vertices[ring[(apex + k) % n]], scale);
            appendPoint(body, stone.vertices[ring[(apex + k + 1) % n]], scale);
            body += '\0';  // attribute byte count
            body += '\0';
            ++triangles;
        }
    }
    std::string out = header(stone, millimetresPerUnit > 0);
    appendUint32(out, triangles);
    return out + body;
}

bool writeStl(const Stone& stone, const std::string& path, double millimetresPerUnit, Diagnostics& notes) {
    return writeExportFile(path, stlBytes(stone, millimetresPerUnit), filemsg::CANNOT_OPEN_TO_WRITE, true, notes);
}

}  // namespace brevix
