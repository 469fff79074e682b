#include "cli/tolerance_report.h"

#include <CLI/CLI.hpp>
#include <cmath>

#include "cli/light_options.h"
#include "cli/options.h"
#include "optics/light_score.h"
#include "platform/number_parse.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

// The double whose shortest text is the printed one, so that JSON carries
// the digits the text report shows.
Json printed(const char* format, double value) {
    const double shown = leadingNumber(strprintf(format, value)).value_or(0);
    return Json(shown == 0 ? 0.0 : shown);  // never "-0"
}

Json brightness(double percent) { return printed("%.1f", percent); }

Json perDegree(const std::optional<double>& value) {
    return value ? printed("%.2f", *value) : Json(nullptr);
}

Json spread(const tolerance::Spread& s) {
    Json j = Json::object();
    j["mean"] = brightness(s.mean);
    j["p5"] = brightness(s.p5);
    j["p95"] = brightness(s.p95);
    return j;
}

// Judged under lightings other than ISO alone.
bool judgedApart(const tolerance::ToleranceOptions& o) {
    return o.worstLighting || o.lightings.size() != 1 || o.lightings[0] != optics::Environment::Iso;
}

std::string lightingNames(const tolerance::ToleranceOptions& o) {
    std::string names;
    for (optics::Environment e : o.lightings) names += (names.empty() ? "" : ", ") + std::string(optics::environmentLabel(e));
    return names;
}

std::string percent(double value) { return optics::brightnessText(value) + "%"; }

std::string perDegreeText(const std::optional<double>& value) {
    // "-0.00" says nothing a plain 0.00 does not.
    if (!value) return "-";
    const std::string text = strprintf("%.2f", *value);
    return text == "-0.00" ? "0.00" : text;
}

}  // namespace

void addToleranceOptions(CLI::App& app, ToleranceArguments& o) {
    addNumber(app, "--angle-error", "largest error of a tier's angle, either way", {0, 5, "degrees", "0.1"},
              o.error.angleDegrees)
        ->type_name("DEG");
    addNumber(app, "--index-error", "largest turn of a tier about the axis, either way", {0, 5, "degrees", "0.1"},
              o.error.indexDegrees)
        ->type_name("DEG");
    addNumber(app, "--depth-error", "largest error of a tier cut to a depth, either way, as a share of the width",
              {0, 0.05, "a share of W", "0.001"}, o.error.depthShare)
        ->type_name("W");
    addWholeNumber(app, "--samples", "designs cut with drawn errors", {1, 100000, "a number", "200"}, "samples",
                   o.samples)
        ->type_name("N");
    addWholeNumber(app, "--seed", "seed of the drawn errors", {0, 999999, "a number", "7"}, "seed", o.seed)
        ->type_name("S");
    addLightingsOptions(app, o.lightings, o.worst,
                        "also judge the brightness under these lightings, their mean (else iso alone)",
                        "judge by the worst of the lightings, not their mean");
}

void checkToleranceOptions(const ToleranceArguments& o) {
    checkWorst(o.lightings, o.worst);
}

void applyToleranceOptions(const ToleranceArguments& from, tolerance::ToleranceOptions& to) {
    to.error = from.error;
    to.samples = from.samples;
    to.seed = uint64_t(from.seed);
    to.lightings = from.lightings;
    to.worstLighting = from.worst;
}

void addToleranceMembers(Json& j, const tolerance::ToleranceReport& r, const tolerance::ToleranceOptions& o) {
    j["nominal"] = Json::object();
    j["nominal"]["iso"] = brightness(r.nominalIso);
    j["nominal"]["cos"] = brightness(r.nominalCos);
    j["samples"] = r.samples;
    j["iso"] = spread(r.iso);
    j["cos"] = spread(r.cos);
    Json tiers = Json::array();
    for (const tolerance::TierSensitivity& s : r.tiers) {
        Json t = Json::object();
        t["tier"] = s.name;
        t["iso_per_degree"] = perDegree(s.isoPerDegree);
        t["cos_per_degree"] = perDegree(s.cosPerDegree);
        if (judgedApart(o)) t["judged_per_degree"] = perDegree(s.judgedPerDegree);
        tiers.push_back(std::move(t));
    }
    j["tiers"] = std::move(tiers);
    j["most_sensitive"] = r.mostSensitive >= 0 ? Json(r.tiers[size_t(r.mostSensitive)].name) : Json(nullptr);
    if (!judgedApart(o)) return;
    Json judged = Json::object();
    Json names = Json::array();
    for (optics::Environment e : o.lightings) names.push_back(optics::environmentKey(e));
    judged["lightings"] = std::move(names);
    judged["worst"] = o.worstLighting;
    judged["nominal"] = brightness(r.nominalJudged);
    judged["mean"] = brightness(r.judged.mean);
    judged["p5"] = brightness(r.judged.p5);
    judged["p95"] = brightness(r.judged.p95);
    j["judged"] = std::move(judged);
}

std::string toleranceText(const tolerance::ToleranceReport& r, const tolerance::ToleranceOptions& o) {
    std::string text = "Nominal ISO brightness: " + percent(r.nominalIso) + "\n";
    text += "Nominal COS brightness: " + percent(r.nominalCos) + "\n";
    text += strprintf("Machine error: angle %g\xC2\xB0, index %g\xC2\xB0, depth %g W, either way\n",
                      o.error.angleDegrees, o.error.indexDegrees, o.error.depthShare);
    text += strprintf("Samples: %d (seed %llu)\n", r.samples, static_cast<unsigned long long>(o.seed));
    if (r.failedSamples > 0)
        text += strprintf("Left out: %d samples that could not be re-cut by intent\n", r.failedSamples);
    text += "ISO brightness: mean " + percent(r.iso.mean) + ", 5th percentile " + percent(r.iso.p5) +
            ", 95th percentile " + percent(r.iso.p95) + "\n";
    text += "COS brightness: mean " + percent(r.cos.mean) + ", 5th percentile " + percent(r.cos.p5) +
            ", 95th percentile " + percent(r.cos.p95) + "\n";
    const bool apart = judgedApart(o);
    if (apart) {
        const char* over = o.lightings.size() < 2 ? "" : o.worstLighting ? "the worst of " : "the mean of ";
        text += std::string("Judged under ") + over + lightingNames(o) +
                ": nominal " + percent(r.nominalJudged) + ", mean " + percent(r.judged.mean) + ", 5th percentile " +
                percent(r.judged.p5) + ", 95th percentile " + percent(r.judged.p95) + "\n";
    }
    text += apart ? "Points per degree of angle (ISO, COS, judged):\n" : "Points per degree of angle (ISO, COS):\n";
    for (const tolerance::TierSensitivity& s : r.tiers) {
        text += strprintf("%s\t%s\t%s", s.name.c_str(), perDegreeText(s.isoPerDegree).c_str(),
                          perDegreeText(s.cosPerDegree).c_str());
        text += apart ? "\t" + perDegreeText(s.judgedPerDegree) + "\n" : "\n";
    }
    if (r.mostSensitive >= 0) text += "Most sensitive: " + r.tiers[size_t(r.mostSensitive)].name + "\n";
    return text;
}

}  // namespace brevix::cli
