// json FILE [--width MM | --length MM] [--material NAME | --sg SG]: the
// design as one JSON object, for scripts: its settings, lines, measures,
// facets, vertices and preform, and with a size its real size and weight.
#include <memory>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "cli/size_options.h"
#include "design/measures.h"

namespace brevix::cli {

namespace {

Json lines(const std::array<std::string, 4>& texts) {
    Json array = Json::array();
    for (const std::string& line : texts) array.push_back(textOrNull(line));
    return array;
}

Json statistics(Stone& stone) {
    computeBounds(stone);
    computeVolume(stone);
    const Stats& s = stone.stats;
    return {
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
        {"centroid", {s.centroidX, s.centroidY, s.centroidZ}},
    };
}

Json facets(const Stone& stone) {
    Json array = Json::array();
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        array.push_back({
            {"name", textOrNull(f.name)},
            {"rough", f.isRough()},
            {"tier", f.tier},
            {"angle", stone.facetAngleOf(i)},
            {"index", stone.facetIndexOf(i)},
            {"a", f.a},
            {"b", f.b},
            {"c", f.c},
            {"d", f.d},
            {"area", stone.facetArea(i)},
            {"instruction", textOrNull(stone.instructionOf(i))},
        });
    }
    return array;
}

Json flat(const FlatSize& size) { return size.present() ? Json{size.length, size.width} : Json(nullptr); }

Json realSize(const SizeChoice& choice, const RealSize& size, const std::optional<Gravity>& gravity) {
    const bool named = gravity && !gravity->material.empty();
    return {
        {"basis", choice.basis == SizeBasis::Width ? "width" : "length"},
        {"millimetres", choice.millimetres},
        {"millimetresPerUnit", size.millimetresPerUnit},
        {"length", size.length},
        {"width", size.width},
        {"height", size.height},
        {"table", flat(size.table)},
        {"culet", flat(size.culet)},
        {"volume", size.volume},
        {"material", named ? text(gravity->material) : Json(nullptr)},
        {"specificGravity", gravity ? Json(gravity->specificGravity) : Json(nullptr)},
        {"carats", gravity ? Json(caratsOf(size.volume, gravity->specificGravity)) : Json(nullptr)},
    };
}

Json design(Stone& stone) {
    Json vertices = Json::array();
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        const Vertex& v = stone.vertices[i];
        vertices.push_back({v.x, v.y, v.z});
    }
    return {
        {"gear", stone.gear},
        {"indexOffset", stone.indexOffset},
        {"refractiveIndex", stone.refractiveIndex},
        {"symmetry", stone.symmetry},
        {"mirror", stone.mirror},
        {"heading", lines(stone.heading)},
        {"footnote", lines(stone.footnote)},
        {"statistics", statistics(stone)},
        {"facets", facets(stone)},
        {"vertices", std::move(vertices)},
        {"edges", stone.nEdge},
        {"preform", stone.preform ? design(*stone.preform) : Json(nullptr)},
    };
}

constexpr const char* JSON_ARGUMENTS = "FILE [--width MM | --length MM] [--material NAME | --sg SG]";

struct JsonArguments {
    std::string file;
    SizeOptions size;
};

int runJson(const JsonArguments& a, std::ostream& out, RunState& state) {
    checkSizeOptions(a.size);
    auto stone = loadDesign(a.file, state);
    if (!stone) return EXIT_FAILED;
    bool failed = false;
    const std::optional<RealSize> size = realSizeFor(*stone, a.size, failed);
    std::optional<Gravity> gravity;
    if (size) {
        gravity = gravityFor(*stone, a.size);
        failed = failed || !gravity;
    }
    Json document = design(*stone);
    // Every index of a design without a gear is 0, and the cutter is told why.
    if (stone->gear == 0 && stone->nFacet > 0) {
        Diagnostics said;
        stone->facetIndexOf(0, said);
        showNotes(said);
    }
    if (size) document["size"] = realSize(*a.size.size, *size, gravity);
    writeJson(out, document);
    return failed ? EXIT_FAILED : EXIT_DONE;
}

Run defineJson(CLI::App& app) {
    auto a = std::make_shared<JsonArguments>();
    addFile(app, "FILE", "the design (.brx, .gem or .asc)", a->file);
    addSizeOptions(app, a->size, true);
    return [a](std::ostream& out, RunState& state) { return runJson(*a, out, state); };
}

}  // namespace

extern const Command jsonCommand{"json", JSON_ARGUMENTS, "the design as one JSON object", defineJson};

}  // namespace brevix::cli
