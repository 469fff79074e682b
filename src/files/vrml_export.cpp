// VRML 1.0: one coordinate list and an indexed face set of fan triangles.
#include <ostream>
#include <vector>

#include "files/c_numbers.h"
#include "files/export_files.h"
#include "files/exports.h"
#include "files/facet_ring.h"
#include "files/file_messages.h"

namespace brevix {

namespace {
constexpr double VRML_SCALE = 1.84775 / 100;
}

std::string vrmlText(const Stone& stone) {
    std::string out =
        "#VRML V1.0 ascii\n"
        "  Separator { \n"
        "    DirectionalLight { direction 0 0 -1 }\n"
        "    Separator {                 # Object Separator\n "
        "     Coordinate3 \n"
        "               { \n"
        "               point [\n";
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        const Vertex& v = stone.vertices[i];
        out += "                ";
        appendFixed(out, v.x * VRML_SCALE, 12);
        out += ' ';
        appendFixed(out, v.y * VRML_SCALE, 12);
        out += ' ';
        appendFixed(out, v.z * VRML_SCALE, 12);
        out += ' ';
        out += i + 1 < stone.nVertex ? ", \n" : " \n";
    }
    out +=
        "                     ]           # End of points\n"
        "                }              # End of coords \n"
        " IndexedFaceSet { \n   coordIndex\t[ \n"
        "\n";
    std::vector<int32_t> ring;
    bool first = true;
    for (int32_t f = 0; f < stone.nFacet; ++f) {
        facetRing(stone, f, ring);
        for (size_t k = 1; k + 1 < ring.size(); ++k) {
            if (!first) out += ", \n";
            first = false;
            appendInt(out, ring[0]);
            out += ", ";
            appendInt(out, ring[k]);
            out += ", ";
            appendInt(out, ring[k + 1]);
            out += ", -1";
        }
    }
    out +=
        " \n                 ]   # End of coord index\n"
        "       }              # End of indexedfaceset\n"
        "    }                 # End of object separator\n"
        " }                    # End of main separator \n";
    return out;
}

void writeVrml(const Stone& stone, std::ostream& out) {
    const std::string text = vrmlText(stone);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool writeVrmlFile(const Stone& stone, const std::string& path, Diagnostics& notes) {
    return writeExportFile(path, vrmlText(stone), filemsg::CANNOT_OPEN_TO_WRITE, false, notes);
}

}  // namespace brevix
