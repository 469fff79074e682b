// Wavefront OBJ: the vertices once, then one polygon per facet, the facets
// gathered into groups by name so that a CAD user sees the tiers.
#include <map>
#include <vector>

#include "files/c_numbers.h"
#include "files/export_files.h"
#include "files/exports.h"
#include "files/file_messages.h"
#include "files/mesh_facets.h"
#include "platform/text_encoding.h"

namespace brevix {

namespace {

// One word of UTF-8: OBJ reads blanks in a group line as several groups.
std::string groupName(const Facet& facet) {
    if (facet.isRough()) return "rough";
    if (facet.name.empty()) return "tier" + std::to_string(facet.tier);
    std::string name = cp1252ToUtf8(facet.name);
    for (char& c : name)
        if (static_cast<unsigned char>(c) <= ' ' || c == '#') c = '_';
    return name;
}

// Control characters would end the comment line early.
std::string oneLine(const std::string& cp1252) {
    std::string text = cp1252ToUtf8(cp1252);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return text;
}

// Nine decimals keep apart the corners of a meet a millionth of the stone
// long; the coordinate on an axis plane is written 0, not "-0.000000000".
void appendCoordinate(std::string& out, double value) {
    if (value > -5e-10 && value < 5e-10) value = 0;
    appendFixed(out, value, 9);
}

}  // namespace

std::string objText(const Stone& stone, double millimetresPerUnit) {
    const double scale = millimetresPerUnit > 0 ? millimetresPerUnit : 1;
    std::string out =
        millimetresPerUnit > 0 ? "# Brevix gemstone mesh, mm\n" : "# Brevix gemstone mesh, design units\n";
    std::string heading;
    for (const std::string& line : stone.heading) {
        if (line.empty()) continue;
        if (!heading.empty()) heading += " / ";
        heading += oneLine(line);
    }
    if (!heading.empty()) out += "# " + heading + "\n";

    for (int32_t i = 0; i < stone.nVertex; ++i) {
        const Vertex& v = stone.vertices[i];
        out += "v ";
        appendCoordinate(out, v.x * scale);
        out += ' ';
        appendCoordinate(out, v.y * scale);
        out += ' ';
        appendCoordinate(out, v.z * scale);
        out += '\n';
    }

    // Groups in the order their first facet comes, each written once.
    std::vector<std::string> order;
    std::map<std::string, std::vector<int32_t>> groups;
    for (int32_t f = 0; f < stone.nFacet; ++f) {
        const std::string name = groupName(stone.facets[f]);
        auto [it, added] = groups.try_emplace(name);
        if (added) order.push_back(name);
        it->second.push_back(f);
    }
    std::vector<int32_t> ring;
    for (const std::string& name : order) {
        out += "g " + name + "\n";
        for (int32_t f : groups[name]) {
            outwardRing(stone, f, ring);
            if (ring.size() < 3) continue;
            out += 'f';
            for (int32_t v : ring) {
                out += ' ';
                appendInt(out, v + 1);
            }
            out += '\n';
        }
    }
    return out;
}

bool writeObj(const Stone& stone, const std::string& path, double millimetresPerUnit) {
    return writeExportFile(path, objText(stone, millimetresPerUnit), filemsg::CANNOT_OPEN_TO_WRITE, false);
}

}  // namespace brevix
