// light FILE [options]: the light performance of a design: its ISO and COS
// brightness face up, optionally over a range of tilts, and the face-up
// picture as a PNG file.
#include <cctype>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/light_options.h"
#include "cli/options.h"
#include "files/export_files.h"
#include "files/file_messages.h"
#include "optics/light_picture.h"
#include "optics/light_score.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

using namespace brevix::optics;

constexpr const char* LIGHT_ARGUMENTS =
    "FILE [--ri R | --material NAME] [--size N] [--tilt DEG] [--cone DEG] [--head-shadow DEG] "
    "[--model iso|cos] [--lighting iso|cos|aset|office|spot|dome] [--out IMAGE.png] [--tilt-sweep FROM:TO:STEP] "
    "[--dispersion] [--scintillation]";

bool endsWithPng(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".png";
}

struct LightArguments {
    std::string file;
    LightOptions light;
    std::string model = "iso";
    std::optional<Environment> lighting;
    std::string out;
    std::optional<TiltRange> sweep;
    bool dispersion = false;
    bool scintillation = false;
};

int runLight(const LightArguments& a, std::ostream& out, RunState& state) {
    checkLightOptions(a.light);
    const Environment lighting = a.lighting ? *a.lighting : a.model == "cos" ? Environment::Cos : Environment::Iso;
    auto stone = loadDesign(a.file, state);
    if (!stone) return EXIT_FAILED;

    LightSettings settings;
    settings.ri = a.light.ri;
    settings.material = a.light.material;
    settings.options = a.light.options;
    settings.options.lighting.environment = lighting;
    settings.dispersion = a.dispersion;
    settings.sweep = a.sweep;
    settings.scintillation = a.scintillation;
    // Everything is worked out before the picture's file is created, so no
    // file stands half written through seconds of rendering.
    const LightScore score = scoreLight(*stone, settings);
    const std::string report = lightReport(score);
    std::string png;
    if (!a.out.empty())
        png = encodePng(picture(score, lighting));
    out << report;
    // An empty encoding (memory ran out) must not become an empty file.
    if (!a.out.empty() && png.empty()) {
        reportError(strprintf("not enough memory for the picture %s", a.out.c_str()));
        return EXIT_FAILED;
    }
    // The same writer, and so the same messages, as every export.
    if (!a.out.empty()) {
        Diagnostics notes;
        const bool written = writeExportFile(a.out, png, filemsg::CANNOT_OPEN_TO_WRITE, true, notes);
        showNotes(notes);
        if (!written) return EXIT_FAILED;
    }
    return EXIT_DONE;
}

Run defineLight(CLI::App& app) {
    auto a = std::make_shared<LightArguments>();
    addFile(app, "FILE", "the design (.brx, .gem or .asc)", a->file);
    addLightOptions(app, a->light, "a material of the list, for its index and dispersion",
                    "pixels a side of the picture");
    CLI::Option* model = addChoice(app, "--model", "lighting model of the picture", {"iso", "cos"}, a->model);
    app.add_option_function<std::string>(
           "--lighting",
           [a](const std::string& text) { a->lighting = oneLighting(text); },
           "the room the stone is lit in, for the picture and the figures under it (else iso)")
        ->type_name("iso|cos|aset|office|spot|dome")
        ->excludes(model);
    app.add_option_function<std::string>(
           "--out",
           [a](const std::string& path) {
               if (!endsWithPng(path)) throw UsageError(strprintf("%s: the picture is written as .png", path.c_str()));
               a->out = path;
           },
           "write the face-up picture to this PNG file")
        ->type_name("IMAGE.png");
    app.add_option_function<std::string>(
           "--tilt-sweep",
           [a](const std::string& text) {
               std::string error;
               a->sweep = parseTiltRange(text, error);
               if (!a->sweep) throw UsageError(error);
           },
           "brightness at each tilt from FROM to TO degrees in steps of STEP")
        ->type_name("FROM:TO:STEP");
    app.add_flag("--dispersion", a->dispersion, "split white light by the material's dispersion");
    app.add_flag("--scintillation", a->scintillation,
                 "how much of the pattern switches as the stone rocks from -10 to 10 degrees (a sweep of its own)");
    return [a](std::ostream& out, RunState& state) { return runLight(*a, out, state); };
}

}  // namespace

extern const Command lightCommand{"light", LIGHT_ARGUMENTS, "ISO and COS brightness, tilt sweep and face-up picture",
                                  defineLight};

}  // namespace brevix::cli
