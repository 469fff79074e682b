// json FILE: the design as one JSON object, for scripts: its settings,
// lines, measures, facets, vertices and preform.
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/json_writer.h"
#include "design/measures.h"

namespace brevix::cli {

namespace {

void writeLines(JsonWriter& json, const char* name, const std::array<std::string, 4>& lines) {
    json.key(name);
    json.beginArray(true);
    for (const std::string& line : lines) json.textOrNull(line);
    json.endArray();
}

void writeStatistics(JsonWriter& json, Stone& stone) {
    computeBounds(stone);
    computeVolume(stone);
    const Stats& s = stone.stats;
    const std::pair<const char*, double> fields[] = {
        {"minX", s.minX},
        {"minY", s.minY},
        {"minZ", s.minZ},
        {"maxX", s.maxX},
        {"maxY", s.maxY},
        {"maxZ", s.maxZ},
        {"tableMaxX", s.tableMaxX},
        {"tableMinX", s.tableMinX},
        {"tableMinY", s.tableMinY},
        {"tableMaxY", s.tableMaxY},
        {"xPlusMin", s.xPlusMin},
        {"xMinusMax", s.xMinusMax},
        {"yPlusMin", s.yPlusMin},
        {"yMinusMax", s.yMinusMax},
        {"crownBottom", s.crownBottom},
        {"pavilionTop", s.pavilionTop},
        {"L", s.L},
        {"W", s.W},
        {"volume", s.volume},
    };
    json.key("statistics");
    json.beginObject();
    for (const auto& [name, number] : fields) {
        json.key(name);
        json.value(number);
    }
    json.key("centroid");
    json.beginArray(true);
    json.value(s.centroidX);
    json.value(s.centroidY);
    json.value(s.centroidZ);
    json.endArray();
    json.endObject();
}

void writeFacets(JsonWriter& json, const Stone& stone) {
    json.key("facets");
    json.beginArray();
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        json.beginObject();
        json.key("name");
        json.textOrNull(f.name);
        json.key("rough");
        json.value(f.isRough());
        json.key("tier");
        json.value(f.tier);
        json.key("angle");
        json.value(stone.facetAngleOf(i));
        json.key("index");
        json.value(stone.facetIndexOf(i));
        for (const auto& [name, number] : {std::pair{"a", f.a}, {"b", f.b}, {"c", f.c}, {"d", f.d}}) {
            json.key(name);
            json.value(number);
        }
        json.key("area");
        json.value(stone.facetArea(i));
        json.key("instruction");
        json.textOrNull(stone.instructionOf(i));
        json.endObject();
    }
    json.endArray();
}

void writeStone(JsonWriter& json, Stone& stone) {
    json.beginObject();
    json.key("gear");
    json.value(stone.gear);
    json.key("indexOffset");
    json.value(stone.indexOffset);
    json.key("refractiveIndex");
    json.value(stone.refractiveIndex);
    json.key("symmetry");
    json.value(stone.symmetry);
    json.key("mirror");
    json.value(stone.mirror);
    writeLines(json, "heading", stone.heading);
    writeLines(json, "footnote", stone.footnote);
    writeStatistics(json, stone);
    writeFacets(json, stone);
    json.key("vertices");
    json.beginArray();
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        const Vertex& v = stone.vertices[i];
        json.beginArray(true);
        json.value(v.x);
        json.value(v.y);
        json.value(v.z);
        json.endArray();
    }
    json.endArray();
    json.key("edges");
    json.value(stone.nEdge);
    json.key("preform");
    if (stone.preform)
        writeStone(json, *stone.preform);
    else
        json.null();
    json.endObject();
}

int runJson(std::span<const std::string> args, std::ostream& out) {
    auto stone = loadDesign(args[0]);
    if (!stone) return EXIT_FAILED;
    JsonWriter json(out);
    writeStone(json, *stone);
    return EXIT_DONE;
}

}  // namespace

extern const Command jsonCommand{"json", "FILE", "the design as one JSON object", 1, runJson};

}  // namespace brevix::cli
