// B3D: comma-separated facet angles and indexes, vertices scaled to the
// outline, and the corner rings; exponents in the D notation.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "design/measures.h"
#include "files/c_numbers.h"
#include "files/export_files.h"
#include "files/exports.h"
#include "files/facet_ring.h"
#include "files/file_messages.h"

namespace brevix {

namespace {

constexpr double RAD_PER_DEG = 0.017453292519943295;

void exponentsAsD(std::string& line) {
    std::replace(line.begin(), line.end(), 'e', 'D');
    std::replace(line.begin(), line.end(), 'E', 'D');
}

double tiny(double v) { return std::fabs(v) < 1e-10 ? 0 : v; }

// Crown facets first, then girdle and pavilion, the order of both sections.
std::vector<int32_t> facetOrder(const Stone& s) {
    std::vector<int32_t> order;
    for (int32_t f = 0; f < s.nFacet; ++f)
        if (s.facets[f].c > 0.01) order.push_back(f);
    for (int32_t f = 0; f < s.nFacet; ++f)
        if (!(s.facets[f].c > 0.01)) order.push_back(f);
    return order;
}

}  // namespace

std::string b3dText(const Stone& source) {
    // Indexes are counted from the opposite side of the gear for the export.
    Stone s(source);
    s.indexOffset = static_cast<double>(std::llabs(s.gear)) / 2;
    computeBounds(s);
    const Stats& st = s.stats;
    const double scale = (st.maxX - st.minX) / (st.maxY - st.minY) > 1.5
                             ? 2 * std::max(st.maxX, -st.minX) / 3
                             : std::max(st.maxY, -st.minY);

    std::string out, line;
    appendInt(out, s.nFacet);
    out += ",1,";
    appendInt(out, s.nVertex);
    out += ",0,";
    appendInt(out, 2 * (static_cast<long long>(s.nFacet) + s.nEdge));
    out += "\n0,";
    appendInt(out, std::llabs(s.gear));
    out += '\n';

    const std::vector<int32_t> order = facetOrder(s);
    for (int32_t f : order) {
        double angle = s.facetAngleOf(f);
        if (angle > 89.99) angle = -90;
        line.clear();
        appendGeneral(line, angle * RAD_PER_DEG, 7);
        line += ',';
        appendGeneral(line, s.facetIndexOf(f), 6);
        line += '\n';
        exponentsAsD(line);
        out += line;
    }
    out += s.gear < 0 ? "0,0,0,0,\"CW\"\n" : "0,0,0,0,\"CCW\"\n";
    out += "0,0,0,0,\"\"\n0,0,0\n";
    for (int32_t i = 0; i < s.nVertex; ++i) {
        const Vertex& v = s.vertices[i];
        line.clear();
        appendGeneral(line, tiny(v.x * 10 / scale), 8);
        line += ',';
        appendGeneral(line, tiny(-v.y * 10 / scale), 8);
        line += ',';
        appendGeneral(line, tiny((v.z - st.crownBottom) * 10 / scale), 8);
        line += '\n';
        exponentsAsD(line);
        out += line;
    }
    out += "0,0,0,0\n0\n";
    std::vector<int32_t> ring;
    for (int32_t f : order) {
        facetRing(s, f, ring);
        for (int32_t v : ring) {
            appendInt(out, v + 1);
            out += '\n';
        }
        if (!ring.empty()) {
            appendInt(out, ring[0] + 1);
            out += '\n';
        }
        out += "999\n";
    }
    out += "-1\n";
    return out;
}

bool writeB3d(const Stone& stone, const std::string& path, Diagnostics& notes) {
    return writeExportFile(path, b3dText(stone), filemsg::CANNOT_OPEN_TO_WRITE, false, notes);
}

}  // namespace brevix
