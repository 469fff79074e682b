// json FILE [--width MM | --length MM] [--material NAME | --sg SG]: the
// design as one JSON object, for scripts: its settings, lines, measures,
// facets, vertices and preform, and with a size its real size and weight.
#include <functional>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/json_writer.h"
#include "cli/size_options.h"
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

void writeFlat(JsonWriter& json, const char* name, const FlatSize& flat) {
    json.key(name);
    if (!flat.present()) {
        json.null();
        return;
    }
    json.beginArray(true);
    json.value(flat.length);
    json.value(flat.width);
    json.endArray();
}

void writeSize(JsonWriter& json, const SizeChoice& choice, const RealSize& size,
               const std::optional<Gravity>& gravity) {
    json.key("size");
    json.beginObject();
    json.key("basis");
    json.value(std::string_view(choice.basis == SizeBasis::Width ? "width" : "length"));
    json.key("millimetres");
    json.value(choice.millimetres);
    json.key("millimetresPerUnit");
    json.value(size.millimetresPerUnit);
    for (const auto& [name, number] : {std::pair{"length", size.length}, {"width", size.width}, {"height", size.height}}) {
        json.key(name);
        json.value(number);
    }
    writeFlat(json, "table", size.table);
    writeFlat(json, "culet", size.culet);
    json.key("volume");
    json.value(size.volume);
    json.key("material");
    if (gravity && !gravity->material.empty())
        json.value(std::string_view(gravity->material));
    else
        json.null();
    json.key("specificGravity");
    if (gravity)
        json.value(gravity->specificGravity);
    else
        json.null();
    json.key("carats");
    if (gravity)
        json.value(caratsOf(size.volume, gravity->specificGravity));
    else
        json.null();
    json.endObject();
}

void writeStone(JsonWriter& json, Stone& stone, const std::function<void()>& extra = {}) {
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
    if (extra) extra();
    json.endObject();
}

constexpr const char* ARGUMENTS = "FILE [--width MM | --length MM] [--material NAME | --sg SG]";

int runJson(std::span<const std::string> args, std::ostream& out) {
    SizeOptions options;
    std::vector<std::string> files;
    if (!takeSizeOptions(args, true, options, files)) return EXIT_USAGE;
    if (files.size() != 1) {
        reportError(std::string("usage: brevix-cli json ") + ARGUMENTS);
        return EXIT_USAGE;
    }
    auto stone = loadDesign(files[0]);
    if (!stone) return EXIT_FAILED;
    bool failed = false;
    const std::optional<RealSize> size = realSizeFor(*stone, options, failed);
    std::optional<Gravity> gravity;
    if (size) {
        gravity = gravityFor(*stone, options);
        failed = failed || !gravity;
    }
    JsonWriter json(out);
    writeStone(json, *stone, [&] {
        if (size) writeSize(json, *options.size, *size, gravity);
    });
    return failed ? EXIT_FAILED : EXIT_DONE;
}

}  // namespace

extern const Command jsonCommand{"json", ARGUMENTS, "the design as one JSON object", 1, runJson, 4};

}  // namespace brevix::cli
