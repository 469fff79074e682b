// DXF: one layer "GEM" and a 3DFACE entity per fan triangle, in design units.
#include <vector>

#include "files/c_numbers.h"
#include "files/export_files.h"
#include "files/exports.h"
#include "files/facet_ring.h"
#include "files/file_messages.h"

namespace brevix {

namespace {

void corner(std::string& out, int group, const Vertex& v) {
    const double xyz[3] = {v.x, v.y, v.z};
    for (int axis = 0; axis < 3; ++axis) {
        appendInt(out, group + 10 * axis);
        out += '\n';
        appendFixed(out, xyz[axis], 6);
        out += '\n';
    }
}

}  // namespace

std::string dxfText(const Stone& stone, const std::string& path) {
    std::string out = "999\nDXF gemstone file " + path + " created by Brevix for Windows\n";
    out += "0\nSECTION\n2\nHEADER\n0\nENDSEC\n";
    out += "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n153\n";
    out += "0\nLAYER\n2\nGEM\n70\n0\n62\n15\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n";
    out += "0\nSECTION\n2\nENTITIES\n";
    std::vector<int32_t> ring;
    for (int32_t f = 0; f < stone.nFacet; ++f) {
        facetRing(stone, f, ring);
        for (size_t k = 1; k + 1 < ring.size(); ++k) {
            out += "0\n3DFACE\n8\nGEM\n";
            corner(out, 10, stone.vertices[ring[0]]);
            corner(out, 11, stone.vertices[ring[k]]);
            corner(out, 12, stone.vertices[ring[k + 1]]);
            corner(out, 13, stone.vertices[ring[k + 1]]);
            out += "62\n0\n";
        }
    }
    out += "0\nENDSEC\n0\nEOF\n";
    return out;
}

bool writeDxf(const Stone& stone, const std::string& path, Diagnostics& notes) {
    return writeExportFile(path, dxfText(stone, path), filemsg::CANNOT_OPEN_TO_WRITE_DXF, false, notes);
}

}  // namespace brevix
