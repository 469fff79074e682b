#include "cli/optimise_report.h"

#include <cmath>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/intent_files.h"
#include "cli/options.h"
#include "intent/intent_words.h"
#include "optics/light_score.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"

namespace brevix::cli {

namespace {

std::string lightLines(const Stone& stone, double refractiveIndex, const optimise::OptimiseSettings& settings,
                       int size) {
    optics::LightSettings light;
    light.ri = refractiveIndex;
    light.options.size = size;
    light.options.lighting = settings.scoring.lighting;
    light.sweep = settings.scoring.tilts;
    return optics::lightReport(optics::scoreLight(stone, light));
}

}  // namespace

void addSearchOptions(CLI::App& app, SearchOptions& o) {
    addNumber(app, "--seconds", "stop after this many seconds with the best so far", {1, 86400, "seconds", "60"},
              o.seconds)
        ->type_name("S");
    addWholeNumber(app, "--seed", "seed of the drawn starting points", {0, 999999, "a number", "7"}, "seed",
                   o.seed)
        ->type_name("N");
    addWholeNumber(app, "--evaluations", "candidates each search may try", {2, 100000, "a number", "300"},
                   "candidates", o.evaluations)
        ->type_name("N");
    addWholeNumber(app, "--starts", "searches, the first from the design itself", {1, 64, "a number", "8"},
                   "searches", o.starts)
        ->type_name("N");
    addWholeNumber(app, "--size", "pixels a side of the reported figures", {8, 4096, "a number", "128"}, "pixels",
                   o.size)
        ->type_name("N");
}

void applySearchOptions(const SearchOptions& o, optimise::OptimiseSettings& settings) {
    settings.seconds = o.seconds;
    settings.seed = unsigned(o.seed);
    settings.evaluationsPerStart = o.evaluations;
    settings.starts = o.starts;
}

int finishSearch(const Stone& design, const DesignIntent& intent, const optimise::OptimiseResult& result,
                 double refractiveIndex, const SearchOptions& options, const std::string& outPath, std::ostream& out) {
    out << "Start\n" << lightLines(design, refractiveIndex, optimise::OptimiseSettings{}, options.size);
    if (!result.best) {
        reportError(strprintf("no candidate met the limits (%d tried)", result.evaluations));
        return EXIT_FAILED;
    }
    Stone best = *result.best->stone;
    best.refractiveIndex = refractiveIndex;
    out << "Result\n" << lightLines(best, refractiveIndex, optimise::OptimiseSettings{}, options.size);
    const DesignIntent& found = result.best->intent;
    for (size_t t = 0; t < found.tiers.size() && t < intent.tiers.size(); ++t) {
        const double was = std::fabs(intent.tiers[t].angle), now = std::fabs(found.tiers[t].angle);
        if (std::fabs(now - was) < 0.005) continue;
        out << cp1252ToUtf8(strprintf("%s %.2f -> %.2f\n", tierLabel(best, found, int32_t(t)).c_str(), was, now));
    }
    if (!saveWithIntent(best, found, outPath)) return EXIT_FAILED;
    return EXIT_DONE;
}

}  // namespace brevix::cli
