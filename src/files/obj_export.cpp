// Wavefront OBJ: the vertices once, then one polygon per facet, the facets
// gathered into one group per tier so that a CAD user sees the tiers.
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "design/tiers.h"
#include "files/c_numbers.h"
#include "files/export_files.h"
#include "files/exports.h"
#include "files/file_messages.h"
#include "files/mesh_facets.h"
#include "platform/text_encoding.h"

namespace brevix {

namespace {

// One word of UTF-8: OBJ reads blanks in a group line as several groups.
std::string oneWord(const std::string& cp1252) {
    std::string name = cp1252ToUtf8(cp1252);
    for (char& c : name)
        if (static_cast<unsigned char>(c) <= ' ' || c == '#') c = '_';
    return name;
}

// The groups a CAD user sees: one per tier, named as the cutting
// instructions name it (its first named facet), "tierN" when no facet of it
// has a name, and the faces of the rough block apart as "rough". Two tiers
// that end up with one name get "_2", "_3" ... so that a reader does not
// merge them. In the order each group's first facet comes.
struct Group {
    std::string name;
    std::vector<int32_t> facets;
};

std::vector<Group> tierGroups(const Stone& stone) {
    std::vector<Group> groups;
    std::map<std::pair<bool, int32_t>, size_t> groupOf;  // (rough, tier) -> group
    for (int32_t f = 0; f < stone.nFacet; ++f) {
        const Facet& facet = stone.facets[f];
        const auto key = std::pair(facet.isRough(), facet.isRough() ? 0 : facet.tier);
        auto [at, added] = groupOf.try_emplace(key, groups.size());
        if (added) groups.push_back({});
        groups[at->second].facets.push_back(f);
    }
    std::set<std::string> taken;
    for (Group& group : groups) {
        const Facet& first = stone.facets[group.facets.front()];
        std::string name;
        if (first.isRough()) {
            name = "rough";
        } else {
            name = oneWord(tierName(stone, group.facets.front()));
            if (name.empty()) name = "tier" + std::to_string(first.tier);
        }
        group.name = name;
        for (int n = 2; !taken.insert(group.name).second; ++n) group.name = name + "_" + std::to_string(n);
    }
    return groups;
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

    std::vector<int32_t> ring;
    for (const Group& group : tierGroups(stone)) {
        out += "g " + group.name + "\n";
        for (int32_t f : group.facets) {
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

bool writeObj(const Stone& stone, const std::string& path, double millimetresPerUnit, Diagnostics& notes) {
    return writeExportFile(path, objText(stone, millimetresPerUnit), filemsg::CANNOT_OPEN_TO_WRITE, false, notes);
}

}  // namespace brevix
