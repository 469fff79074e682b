// retarget IN OUT --material NAME: the design for another material: its
// pavilion turned for the new critical angle, then optimised in the new
// material while keeping close to its proportions and angles.
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/intent_files.h"
#include "cli/optimise_report.h"
#include "cli/options.h"
#include "document/file_type.h"
#include "optimise/optimiser.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

constexpr const char* RETARGET_ARGUMENTS =
    "IN OUT --material NAME [--seconds S] [--seed N] [--evaluations N] [--starts N] [--size N] [--goal GOAL] "
    "[--critical-margin DEG] [--min-facet-share SHARE] [--order-gap DEG] [--min-girdle-share SHARE] "
    "[--lighting LIGHTING,LIGHTING... [--worst]] [--allow-new-warnings] [--compare PAIR.png]";

struct RetargetArguments {
    std::vector<std::string> files;
    std::optional<optics::Material> material;
    SearchOptions search;
};

int runRetarget(const RetargetArguments& a, std::ostream& out) {
    const FileType type = fileTypeOf(a.files[1]);
    if (type != FileType::Gem && type != FileType::Asc && !isIntentPath(a.files[1]))
        throw UsageError(strprintf("%s: the name must end in .brx, .gem or .asc", a.files[1].c_str()));
    bool problems = false;
    DesignAndIntent design = loadWithIntent(a.files[0], problems);
    if (!design.stone) return EXIT_FAILED;
    const Stone& stone = *design.stone;
    optimise::ProblemRequest request;
    request.material = a.material;
    applySearchOptions(a.search, request);
    const optimise::OptimiseSettings settings = optimise::problemSettings(stone.refractiveIndex, request);
    const double ri = settings.scoring.refractiveIndex;
    out << limitsLine(settings.limits, ri);
    const optimise::OptimiseResult result = optimise::retargetDesign(stone, design.intent, stone.refractiveIndex, settings);
    if (!result.error.empty()) {
        reportError(strprintf("%s: %s", a.files[0].c_str(), result.error.c_str()));
        return EXIT_FAILED;
    }
    const int code = finishSearch(stone, design.intent, result, ri, a.search, a.files[1], out);
    return code == EXIT_DONE && problems ? EXIT_FAILED : code;
}

Run defineRetarget(CLI::App& app) {
    auto a = std::make_shared<RetargetArguments>();
    app.add_option("FILES", a->files, "the design to read (IN) and the file to write (OUT)")
        ->required()
        ->expected(2)
        ->type_name("IN OUT");
    addMaterial(app, "--material", "the material to cut the design in", a->material)->required();
    addSearchOptions(app, a->search);
    return [a](std::ostream& out, RunState&) { return runRetarget(*a, out); };
}

}  // namespace

extern const Command retargetCommand{"retarget", RETARGET_ARGUMENTS,
                                     "turn a design for another material and optimise it there", defineRetarget};

}  // namespace brevix::cli
