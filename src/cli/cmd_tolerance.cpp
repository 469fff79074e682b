// tolerance FILE [options]: how forgiving a design is of machine error: its
// light over samples cut a little off every tier's angle, index and depth,
// and how many points of light a degree of each tier's angle is worth.
#include <memory>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/intent_files.h"
#include "cli/light_options.h"
#include "cli/options.h"
#include "cli/tolerance_report.h"
#include "optics/light_score.h"
#include "platform/strformat.h"
#include "tolerance/tolerance.h"

namespace brevix::cli {

namespace {

constexpr const char* TOLERANCE_ARGUMENTS =
    "FILE [--angle-error DEG] [--index-error DEG] [--depth-error W] [--samples N] [--seed S] "
    "[--lighting LIGHTING,LIGHTING... [--worst]] [--ri R | --material NAME] [--size N] [--tilt DEG] [--cone DEG] [--head-shadow DEG] [--json]";

struct Arguments {
    std::string file;
    ToleranceArguments errors;
    LightOptions light;
    bool json = false;
};

int runTolerance(const Arguments& a, std::ostream& out) {
    checkLightOptions(a.light);
    checkToleranceOptions(a.errors);
    bool problems = false;
    const DesignAndIntent design = loadWithIntent(a.file, problems);
    if (!design.stone) return EXIT_FAILED;
    tolerance::ToleranceOptions options;
    applyToleranceOptions(a.errors, options);
    options.light = a.light.options;
    options.light.refractiveIndex =
        optics::chooseLight(a.light.material, a.light.ri, design.stone->refractiveIndex).refractiveIndex;
    const tolerance::ToleranceReport report = tolerance::analyseTolerance(*design.stone, design.intent, options);
    if (!report.error.empty()) {
        reportError(strprintf("%s: %s", a.file.c_str(), report.error.c_str()));
        return EXIT_FAILED;
    }
    if (a.json) {
        Json j = Json::object();
        addToleranceMembers(j, report, options);
        writeJson(out, j);
    } else {
        out << toleranceText(report, options);
    }
    return problems ? EXIT_FAILED : EXIT_DONE;
}

Run defineTolerance(CLI::App& app) {
    auto a = std::make_shared<Arguments>();
    a->light.options.size = tolerance::DEFAULT_PICTURE_SIZE;
    addFile(app, "FILE", "the design (.brx, .gem or .asc)", a->file);
    addToleranceOptions(app, a->errors);
    addLightOptions(app, a->light, "a material of the list, for its index",
                    "pixels a side of each picture (96 unless given)");
    app.add_flag("--json", a->json, "print the report as one JSON object");
    return [a](std::ostream& out, RunState&) { return runTolerance(*a, out); };
}

}  // namespace

extern const Command toleranceCommand{"tolerance", TOLERANCE_ARGUMENTS,
                                      "how much light a design keeps when the machine cuts it a little off",
                                      defineTolerance};

}  // namespace brevix::cli
