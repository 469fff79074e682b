// optimize IN OUT: better light from the same design: the chosen tiers'
// angles are searched within their limits, every candidate re-cut by its
// intent so that meets stay meets.
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/intent_files.h"
#include "cli/optimise_report.h"
#include "cli/options.h"
#include "document/file_type.h"
#include "intent/design_intent.h"
#include "optics/light_score.h"
#include "optimise/optimiser.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

constexpr const char* OPTIMISE_ARGUMENTS =
    "IN OUT [--material NAME | --ri R] [--vary TIER,TIER...] [--range TIER=MIN:MAX ...] [--seconds S] "
    "[--seed N] [--evaluations N] [--starts N] [--least-crown DEG] [--size N] [--goal GOAL] "
    "[--critical-margin DEG] [--min-facet-share SHARE] [--order-gap DEG] [--min-girdle-share SHARE] "
    "[--lighting LIGHTING,LIGHTING... [--worst]] [--allow-new-warnings] [--compare PAIR.png] [--robust [--samples N]]";

struct RangeText {
    std::string tier;
    double low = 0, high = 0;
};

bool readRange(const std::string& text, RangeText& range) {
    const size_t equals = text.find('='), colon = text.find(':', equals == std::string::npos ? 0 : equals);
    if (equals == std::string::npos || equals == 0 || colon == std::string::npos) return false;
    range.tier = text.substr(0, equals);
    const auto low = parseNumber(text.substr(equals + 1, colon - equals - 1));
    const auto high = parseNumber(text.substr(colon + 1));
    if (!low || !high || *low < 0 || *high > 90 || *low > *high) return false;
    range.low = *low;
    range.high = *high;
    return true;
}

struct OptimiseArguments {
    std::vector<std::string> files;
    std::optional<double> ri;
    std::optional<optics::Material> material;
    std::vector<std::string> vary;
    std::vector<RangeText> ranges;
    double leastCrown = 25;
    SearchOptions search;
    bool robust = false;
    int samples = 0;  // 0: not given
};

// Few copies: each multiplies what a candidate costs, and eight already
// tell a design on a cliff of light from one that forgives.

int runOptimise(const OptimiseArguments& a, std::ostream& out) {
    if (a.ri && a.material) throw UsageError("give either --ri or --material, not both");
    if (a.samples > 0 && !a.robust) throw UsageError("--samples goes with --robust");
    const FileType type = fileTypeOf(a.files[1]);
    if (type != FileType::Gem && type != FileType::Asc && !isIntentPath(a.files[1]))
        throw UsageError(strprintf("%s: the name must end in .brx, .gem or .asc", a.files[1].c_str()));
    bool problems = false;
    DesignAndIntent design = loadWithIntent(a.files[0], problems);
    if (!design.stone) return EXIT_FAILED;
    const Stone& stone = *design.stone;
    optimise::ProblemRequest request;
    request.material = a.material;
    request.ri = a.ri;
    request.limits.leastCrownAngle = a.leastCrown;
    applySearchOptions(a.search, request);
    if (a.robust) request.robustSamples = a.samples > 0 ? a.samples : optimise::DEFAULT_ROBUST_SAMPLES;
    auto tierOf = [&](const std::string& name) {
        const int32_t tier = findTier(stone, design.intent, name);
        if (tier < 0) reportError(strprintf("%s: no tier %s", a.files[0].c_str(), name.c_str()));
        return tier;
    };
    for (const std::string& name : a.vary) {
        const int32_t tier = tierOf(name);
        if (tier < 0) return EXIT_FAILED;
        request.tiers.push_back(tier);
    }
    for (const RangeText& r : a.ranges) {
        const int32_t tier = tierOf(r.tier);
        if (tier < 0) return EXIT_FAILED;
        request.ranges.push_back({tier, r.low, r.high});
        // A tier given a range is one to vary, whether --vary named it or not.
        if (!request.tiers.empty()) request.tiers.push_back(tier);
    }
    const optimise::OptimiseSettings settings = optimise::problemSettings(stone.refractiveIndex, request);
    const double ri = settings.scoring.refractiveIndex;
    out << limitsLine(settings.limits, ri);
    const optimise::OptimiseResult result = optimise::optimiseDesign(stone, design.intent, settings);
    if (!result.error.empty()) {
        reportError(strprintf("%s: %s", a.files[0].c_str(), result.error.c_str()));
        return EXIT_FAILED;
    }
    const int code = finishSearch(stone, design.intent, result, ri, a.search, a.files[1], out);
    return code == EXIT_DONE && problems ? EXIT_FAILED : code;
}

Run defineOptimise(CLI::App& app) {
    auto a = std::make_shared<OptimiseArguments>();
    app.add_option("FILES", a->files, "the design to read (IN) and the file to write (OUT)")
        ->required()
        ->expected(2)
        ->type_name("IN OUT");
    addNumber(app, "--ri", "refractive index to optimise for (else the design's own)", {1.01, 3.0, "a number", "1.54"},
              a->ri)
        ->type_name("R");
    addMaterial(app, "--material", "a material of the list to optimise for", a->material);
    app.add_option_function<std::string>(
           "--vary",
           [a](const std::string& text) {
               std::stringstream names(text);
               for (std::string name; std::getline(names, name, ',');)
                   if (!name.empty()) a->vary.push_back(name);
               if (a->vary.empty()) throw UsageError("--vary takes tier names separated by commas, as P1,C1");
           },
           "the tiers whose angles may change (else every tier but the table and the girdle)")
        ->type_name("TIER,TIER...");
    app.add_option_function<std::vector<std::string>>(
           "--range",
           [a](const std::vector<std::string>& texts) {
               for (const std::string& text : texts) {
                   RangeText range;
                   if (!readRange(text, range))
                       throw UsageError("--range takes TIER=MIN:MAX, the angles in degrees from 0 to 90");
                   a->ranges.push_back(range);
               }
           },
           "the angles TIER may take (else its start, give or take 8 degrees)")
        ->allow_extra_args(false)
        ->type_name("TIER=MIN:MAX");
    addNumber(app, "--least-crown", "least angle of a crown tier that starts above it", {0, 89, "degrees", "25"},
              a->leastCrown)
        ->type_name("DEG");
    addSearchOptions(app, a->search);
    app.add_flag("--robust", a->robust,
                 "score each candidate by its mean over copies cut a little off (0.1 degree of angle and index, "
                 "0.001 W of depth), so that a design that forgives the machine wins");
    addWholeNumber(app, "--samples", "copies each candidate is scored over with --robust (8 unless given)",
                   {1, 1000, "a number", "8"}, "copies", a->samples)
        ->type_name("N");
    return [a](std::ostream& out, RunState&) { return runOptimise(*a, out); };
}

}  // namespace

extern const Command optimiseCommand{"optimize", OPTIMISE_ARGUMENTS,
                                     "search the tiers' angles for better light, keeping every meet", defineOptimise};

}  // namespace brevix::cli
