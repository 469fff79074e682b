#include "cli/optimise_report.h"

#include <algorithm>
#include <cmath>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/intent_files.h"
#include "cli/light_options.h"
#include "cli/options.h"
#include "files/export_files.h"
#include "files/file_messages.h"
#include "intent/intent_words.h"
#include "optics/compare_picture.h"
#include "optics/light_score.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"

namespace brevix::cli {

namespace {

// The lines of `brevix-cli light` over the search's tilts, then the
// figures under each further room it was judged in.
std::string lightLines(const Stone& stone, double refractiveIndex, const SearchOptions& options) {
    const optimise::OptimiseSettings defaults;
    optics::LightSettings light;
    light.ri = refractiveIndex;
    light.options.size = options.size;
    light.options.lighting = defaults.scoring.lighting;
    light.sweep = defaults.scoring.tilts;
    std::string text;
    for (optics::Environment e : options.lightings) {
        if (!optics::hasScene(e)) continue;
        light.options.lighting.environment = e;
        const optics::LightScore score = optics::scoreLight(stone, light);
        text += text.empty() ? optics::lightReport(score) : optics::sceneText(score);
    }
    return text.empty() ? optics::lightReport(optics::scoreLight(stone, light)) : text;
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
    addChoice(app, "--goal", "what the search looks for: balanced, brightness or sparkle",
              {"balanced", "brightness", "sparkle"}, o.goal)
        ->type_name("GOAL");
    addNumber(app, "--critical-margin", "degrees every pavilion tier keeps above the critical angle",
              {-45, 45, "degrees", "0.5"}, o.limits.criticalMargin)
        ->type_name("DEG");
    addNumber(app, "--min-facet-share", "least share of its start area a facet keeps (0 = no limit)",
              {0, 1, "a share", "0.4"}, o.limits.minFacetShare)
        ->type_name("SHARE");
    addNumber(app, "--order-gap", "tiers of a side whose angles differ by this much keep their order",
              {0, 90, "degrees", "0.5"}, o.limits.orderGap)
        ->type_name("DEG");
    addNumber(app, "--min-girdle-share", "least share of its start the thinnest girdle keeps (0 = no limit)",
              {0, 1, "a share", "0.8"}, o.limits.minGirdleShare)
        ->type_name("SHARE");
    app.add_option("--compare", o.compare,
                   "write the start and the result face up side by side, with and without the head shadow")
        ->type_name("PAIR.png");
    addLightingsOptions(app, o.lightings, o.worst,
                        "the lightings each candidate is judged under, their mean deciding (else iso)",
                        "let the worst of the lightings decide, not their mean");
    app.add_flag_callback(
        "--allow-new-warnings", [&o] { o.limits.noNewWarnings = false; },
        "accept designs with design warnings the start did not have");
}

void applySearchOptions(const SearchOptions& o, optimise::ProblemRequest& request) {
    checkWorst(o.lightings, o.worst);
    request.seconds = o.seconds;
    request.seed = unsigned(o.seed);
    request.evaluationsPerStart = o.evaluations;
    request.starts = o.starts;
    request.weights = optimise::goalWeights(optimise::goalNamed(o.goal).value_or(optimise::Goal::Balanced));
    const double leastCrown = request.limits.leastCrownAngle;
    request.limits = o.limits;
    request.limits.leastCrownAngle = leastCrown;
    request.lightings = o.lightings;
    request.worstLighting = o.worst;
}

std::string limitsLine(const optimise::Limits& l, double refractiveIndex) {
    std::string text = strprintf("Limits: pavilion at least the critical angle + %g (%.2f\xB0)",
                                 l.criticalMargin, optimise::criticalAngle(refractiveIndex) + l.criticalMargin);
    if (l.minFacetShare > 0) text += strprintf(", facets at least %g %% of their area", 100 * l.minFacetShare);
    text += strprintf(", tiers %g\xB0 apart keep their order", l.orderGap);
    if (l.minGirdleShare > 0) text += strprintf(", girdle at least %g %% of its start", 100 * l.minGirdleShare);
    if (l.noNewWarnings) text += ", no new design warning";
    return cp1252ToUtf8(text) + "\n";
}

int finishSearch(const Stone& design, const DesignIntent& intent, const optimise::OptimiseResult& result,
                 double refractiveIndex, const SearchOptions& options, const std::string& outPath, std::ostream& out) {
    out << "Start\n" << lightLines(design, refractiveIndex, options);
    if (!result.best) {
        reportError(strprintf("no candidate met the limits (%d tried)", result.evaluations));
        return EXIT_FAILED;
    }
    Stone best = *result.best->stone;
    best.refractiveIndex = refractiveIndex;
    out << "Result\n" << lightLines(best, refractiveIndex, options);
    out << "Bound by: ";
    if (result.bounds.empty()) out << "no limit";
    for (size_t i = 0; i < result.bounds.size(); ++i) out << (i ? ", " : "") << cp1252ToUtf8(result.bounds[i]);
    out << "\n";
    const DesignIntent& found = result.best->intent;
    for (size_t t = 0; t < found.tiers.size() && t < intent.tiers.size(); ++t) {
        const double was = std::fabs(intent.tiers[t].angle), now = std::fabs(found.tiers[t].angle);
        if (std::fabs(now - was) < 0.005) continue;
        out << cp1252ToUtf8(strprintf("%s %.2f -> %.2f\n", tierLabel(best, found, int32_t(t)).c_str(), was, now));
    }
    if (!saveWithIntent(best, found, outPath)) return EXIT_FAILED;
    if (!options.compare.empty()) {
        optics::FaceUpOptions pictures;
        pictures.size = std::max(options.size, 128);
        pictures.refractiveIndex = refractiveIndex;
        // Under the first lighting judged, as the dialog shows the pair.
        const optics::Environment shown = options.lightings.empty() ? optics::Environment::Iso : options.lightings.front();
        const std::string png = optics::encodePng(optics::comparePictures(design, best, pictures, shown));
        if (png.empty()) {
            reportError(strprintf("Error writing %s. Disk full?", options.compare.c_str()));
            return EXIT_FAILED;
        }
        Diagnostics notes;
        const bool written = writeExportFile(options.compare, png, filemsg::CANNOT_OPEN_TO_WRITE, true, notes);
        showNotes(notes);
        if (!written) return EXIT_FAILED;
    }
    return EXIT_DONE;
}

}  // namespace brevix::cli
