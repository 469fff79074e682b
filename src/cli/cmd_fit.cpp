// fit DESIGN ROUGH [options]: the largest stone of the design that lies
// wholly inside a rough (a scanned mesh or a simple shape), less a margin
// and clear of spheres to avoid: its size, weight, the rough's yield and
// where it lies. fit --designs FOLDER ROUGH ranks every design found there
// for the same rough, by weight and by weight times its tilt-average
// brightness.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "cli/size_options.h"
#include "collection/design_files.h"
#include "collection/design_read.h"
#include "collection/worker_pool.h"
#include "design/real_size.h"
#include "files/export_files.h"
#include "files/file_messages.h"
#include "optics/light_score.h"
#include "optics/parallel_rows.h"
#include "platform/number_parse.h"
#include "platform/strformat.h"
#include "rough/rough_fit.h"

namespace brevix::cli {

namespace {

constexpr const char* FIT_ARGUMENTS =
    "DESIGN ROUGH [--material NAME] [--margin MM] [--avoid X,Y,Z,R ...] [--json] [--out PLACED.stl|.obj] "
    "[--seed S] | --designs FOLDER ROUGH [--top N] [--jobs N] [--material NAME] [--margin MM] "
    "[--avoid X,Y,Z,R ...] [--seed S]";

// The brightness a ranked design is judged by: the mean over the default
// tilt sweep at a picture size that tells designs apart without making a
// folder's ranking slow.
constexpr int RANKING_PICTURE_SIZE = 96;

struct FitArguments {
    std::vector<std::string> files;  // DESIGN ROUGH, or ROUGH with --designs
    std::string designs;
    std::optional<optics::Material> material;
    double margin = 0;
    std::vector<rough::Avoid> avoid;
    bool json = false;
    std::string out;
    int top = 0;
    int jobs = 0;
    int seed = 1;
};

bool hasExtension(const std::string& path, const char* extension) {
    const size_t n = std::char_traits<char>::length(extension);
    if (path.size() < n) return false;
    std::string tail = path.substr(path.size() - n);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == extension;
}

bool isShape(const std::string& rough) {
    for (const char* kind : {"box:", "cylinder:", "ellipsoid:"})
        if (rough.rfind(kind, 0) == 0) return true;
    return false;
}

// The rough ready to fit into, after saying what was wrong or odd with it.
std::shared_ptr<const rough::Rough> loadRough(const std::string& source) {
    rough::MeshRead read = isShape(source) ? rough::shapeMesh(source) : rough::readMeshFile(source);
    if (!read.mesh) {
        reportError(read.error);
        return nullptr;
    }
    rough::RoughCheck check = rough::prepareRough(std::move(*read.mesh));
    for (const std::string& warning : check.warnings) reportError(warning);
    if (!check.rough) reportError(check.error);
    return check.rough;
}

rough::FitOptions fitOptions(const FitArguments& a, int threads) {
    rough::FitOptions options;
    options.marginMm = a.margin;
    options.avoid = a.avoid;
    options.seed = static_cast<uint64_t>(a.seed);
    options.threads = threads;
    return options;
}

// The weight as `info --width W --material M` gives it for the found width.
struct Weighed {
    RealSize size;
    std::string material;
    double specificGravity = 0;
    double carats = 0;
};
std::optional<Weighed> weigh(const Stone& stone, const FitArguments& a, double widthMm) {
    std::optional<RealSize> size = realSizeOf(stone, SizeBasis::Width, widthMm);
    if (!size) {
        reportError(strprintf("a stone %.4g mm wide is beyond the sizes a stone may have", widthMm));
        return std::nullopt;
    }
    SizeOptions options;
    options.material = a.material;
    const std::optional<Gravity> gravity = gravityFor(stone, options);
    if (!gravity) return std::nullopt;
    return Weighed{*size, gravity->material, gravity->specificGravity, caratsOf(size->volume, gravity->specificGravity)};
}

double rounded(const char* format, double value) { return leadingNumber(strprintf(format, value)).value_or(0); }

void addPlacement(Json& j, const rough::FitResult& fit, const Weighed& w) {
    j["width_mm"] = fit.widthMm;
    j["length_mm"] = w.size.length;
    j["depth_mm"] = w.size.height;
    j["weight_ct"] = rounded("%.3f", w.carats);
    j["material"] = w.material;
    j["sg"] = w.specificGravity;
    j["yield_percent"] = fit.yieldPercent;
    Json rotation = Json::array();
    for (const auto& row : fit.placement.rotation) rotation.push_back(Json::array({row[0], row[1], row[2]}));
    j["rotation"] = rotation;
    const Vec3 t = fit.placement.translation;
    j["translation"] = Json::array({t.x, t.y, t.z});
}

int writePlaced(const Stone& stone, const rough::Placement& placement, const std::string& path) {
    const rough::Mesh mesh = rough::placedStoneMesh(stone, placement);
    const std::string bytes = hasExtension(path, ".obj") ? rough::objText(mesh) : rough::asciiStl(mesh, "placed_stone");
    Diagnostics notes;
    const bool written = writeExportFile(path, bytes, filemsg::CANNOT_OPEN_TO_WRITE, true, notes);
    showNotes(notes);
    return written ? EXIT_DONE : EXIT_FAILED;
}

int runFitOne(const FitArguments& a, std::ostream& out, RunState& state) {
    auto stone = loadDesign(a.files[0], state);
    if (!stone) return EXIT_FAILED;
    const auto rough = loadRough(a.files[1]);
    if (!rough) return EXIT_FAILED;
    const rough::FitResult fit = rough::fitStone(*stone, *rough, fitOptions(a, 0));
    if (!fit.fits) {
        reportError(fit.message);
        return EXIT_FAILED;
    }
    const std::optional<Weighed> w = weigh(*stone, a, fit.widthMm);
    if (!w) return EXIT_FAILED;
    if (a.json) {
        Json j = Json::object();
        j["design"] = a.files[0];
        j["rough"] = a.files[1];
        addPlacement(j, fit, *w);
        writeJson(out, j);
    } else {
        const auto& r = fit.placement.rotation;
        const Vec3 t = fit.placement.translation;
        out << sizeLine(w->size) << "\n"
            << volumeLine(w->size) << "\n"
            << weightLine(w->size, w->material, w->specificGravity) << "\n"
            << strprintf("Yield: %.1f%% of the rough's %.2f mm\xC2\xB3\n", fit.yieldPercent, rough::roughVolume(*rough))
            << strprintf("Rotation: %.6f %.6f %.6f / %.6f %.6f %.6f / %.6f %.6f %.6f\n", r[0][0], r[0][1], r[0][2],
                         r[1][0], r[1][1], r[1][2], r[2][0], r[2][1], r[2][2])
            << strprintf("Translation: %.4f, %.4f, %.4f mm\n", t.x, t.y, t.z);
    }
    if (!a.out.empty()) return writePlaced(*stone, fit.placement, a.out);
    return EXIT_DONE;
}

struct Ranked {
    Json line;
    double weight = 0, score = 0;
    bool ok = false;
};

Ranked fitEntry(const collection::DesignEntry& entry, const rough::Rough& rough, const FitArguments& a,
                int threads) {
    Ranked r;
    r.line = Json::object();
    r.line["file"] = entry.id();
    try {
        const collection::ReadEntry read = collection::readEntry(entry);
        if (!read.stone) {
            r.line["error"] = read.error;
            return r;
        }
        const rough::FitResult fit = rough::fitStone(*read.stone, rough, fitOptions(a, threads));
        if (!fit.fits) {
            r.line["error"] = fit.message;
            return r;
        }
        const std::optional<Weighed> w = weigh(*read.stone, a, fit.widthMm);
        if (!w) {
            r.line["error"] = "no weight: the design's index names no material; give --material NAME";
            return r;
        }
        optics::LightSettings light;
        light.material = a.material;
        light.options.size = RANKING_PICTURE_SIZE;
        light.options.threads = threads;
        light.sweep = optics::TiltRange{};
        const optics::LightScore score = optics::scoreLight(*read.stone, light);
        const double brightness = optics::tiltAverages(score.sweep).iso;
        addPlacement(r.line, fit, *w);
        r.line["tilt_iso"] = rounded("%.1f", brightness);
        r.weight = w->carats;
        r.score = w->carats * brightness / 100;
        r.line["weight_x_brightness"] = rounded("%.4f", r.score);
        if (!read.warning.empty()) r.line["warning"] = read.warning;
        r.ok = true;
    } catch (const std::exception& error) {
        r.line["error"] = error.what();
    }
    return r;
}

int runFitDesigns(const FitArguments& a, std::ostream& out) {
    const auto rough = loadRough(a.files[0]);
    if (!rough) return EXIT_FAILED;
    const collection::FoundDesigns found = collection::findDesigns({a.designs});
    showNotes(found.notes);
    const auto& entries = found.entries;
    const int cores = optics::coreCount();
    const int jobs = collection::jobCount(a.jobs, cores, entries.size());
    const int threads = collection::innerThreads(cores, jobs, entries.size());
    std::vector<Ranked> ranked(entries.size());
    // The ranking needs every fit before it prints a line: until then only
    // the count on the terminal tells a long folder is being worked through.
    ProgressLine progress("fitted", entries.size());
    size_t done = 0, failed = 0;
    collection::runInOrder(
        entries.size(), jobs, [&](size_t i) { ranked[i] = fitEntry(entries[i], *rough, a, threads); },
        [&](size_t i) {
            ++done;
            failed += !ranked[i].ok;
            progress.update(done, failed);
        });
    progress.finish();
    // Heaviest first, and the order by weight times brightness, which the
    // lines follow; designs that failed come last in the order found.
    std::vector<size_t> byWeight, byScore;
    for (size_t i = 0; i < ranked.size(); ++i)
        if (ranked[i].ok) byWeight.push_back(i);
    byScore = byWeight;
    std::stable_sort(byWeight.begin(), byWeight.end(), [&](size_t x, size_t y) { return ranked[x].weight > ranked[y].weight; });
    std::stable_sort(byScore.begin(), byScore.end(), [&](size_t x, size_t y) { return ranked[x].score > ranked[y].score; });
    for (size_t k = 0; k < byWeight.size(); ++k) ranked[byWeight[k]].line["rank_weight"] = k + 1;
    for (size_t k = 0; k < byScore.size(); ++k) ranked[byScore[k]].line["rank_weight_x_brightness"] = k + 1;
    size_t shown = 0;
    for (size_t i : byScore) {
        if (a.top > 0 && shown == static_cast<size_t>(a.top)) break;
        out << ranked[i].line.dump(-1, ' ', false, Json::error_handler_t::replace) << "\n";
        ++shown;
    }
    for (const Ranked& r : ranked)
        if (!r.ok) out << r.line.dump(-1, ' ', false, Json::error_handler_t::replace) << "\n";
    return failed > 0 ? EXIT_FAILED : EXIT_DONE;
}

int runFit(const FitArguments& a, std::ostream& out, RunState& state) {
    const size_t wanted = a.designs.empty() ? 2 : 1;
    if (a.files.size() != wanted)
        throw UsageError(a.designs.empty() ? "give the design and the rough: DESIGN ROUGH"
                                           : "with --designs FOLDER give only the rough");
    if (a.designs.empty() && (a.top > 0 || a.jobs > 0)) throw UsageError("--top and --jobs go with --designs FOLDER");
    if (!a.designs.empty() && (a.json || !a.out.empty()))
        throw UsageError("--designs prints JSON lines; --json and --out go with one design");
    return a.designs.empty() ? runFitOne(a, out, state) : runFitDesigns(a, out);
}

// "X,Y,Z,R" in millimetres, the radius above 0.
rough::Avoid parseAvoid(const std::string& text) {
    std::vector<double> values;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::optional<double> value =
            wholeNumber(std::string_view(text).substr(start, comma == std::string::npos ? std::string::npos : comma - start), true);
        if (!value || !std::isfinite(*value)) break;
        values.push_back(*value);
        if (comma == std::string::npos) {
            if (values.size() == 4 && values[3] > 0) return {{values[0], values[1], values[2]}, values[3]};
            break;
        }
        start = comma + 1;
    }
    throw UsageError(strprintf("--avoid takes X,Y,Z,R in millimetres with R above 0, as 0,0,1.5,0.4 (not '%s')",
                               text.c_str()));
}

Run defineFit(CLI::App& app) {
    auto a = std::make_shared<FitArguments>();
    app.add_option("FILES", a->files, "the design (.brx, .gem or .asc) and the rough: an STL or OBJ mesh in "
                                      "millimetres, or box:LxWxH, cylinder:DxH or ellipsoid:AxBxC")
        ->required()
        ->type_name("DESIGN ROUGH");
    addMaterial(app, "--material", "the material, for the weight (else the design's own index)", a->material);
    addNumber(app, "--margin", "millimetres the stone keeps from the rough's surface",
              {0, 1000, "millimetres", "0.2"}, a->margin)
        ->type_name("MM");
    app.add_option_function<std::vector<std::string>>(
           "--avoid",
           [a](const std::vector<std::string>& spheres) {
               for (const std::string& s : spheres) a->avoid.push_back(parseAvoid(s));
           },
           "a sphere the stone keeps out of (an inclusion, a crack), centre and radius in the rough's millimetres")
        ->type_name("X,Y,Z,R");
    app.add_flag("--json", a->json, "print the figures as JSON");
    app.add_option_function<std::string>(
           "--out",
           [a](const std::string& path) {
               if (!hasExtension(path, ".stl") && !hasExtension(path, ".obj"))
                   throw UsageError(strprintf("%s: the placed stone is written as .stl or .obj", path.c_str()));
               a->out = path;
           },
           "write the placed stone as a mesh in the rough's coordinates")
        ->type_name("PLACED.stl|.obj");
    addWholeNumber(app, "--seed", "the seed of the search's random turns", {1, 999999, "a number", "1"}, "seed",
                   a->seed)
        ->type_name("S");
    app.add_option("--designs", a->designs, "fit and rank every design found in this folder")->type_name("FOLDER");
    addWholeNumber(app, "--top", "print only the best N", {1, 99999, "a number", "10"}, "designs", a->top)
        ->type_name("N");
    addWholeNumber(app, "--jobs", "designs fitted at once (else one per core)", {1, 1024, "a number", "4"}, "jobs",
                   a->jobs)
        ->type_name("N");
    return [a](std::ostream& out, RunState& state) { return runFit(*a, out, state); };
}

}  // namespace

extern const Command fitCommand{"fit", FIT_ARGUMENTS,
                                "the largest stone of a design inside a rough mesh or shape, or the best designs for it",
                                defineFit};

}  // namespace brevix::cli
