#pragma once
// What `brevix-cli tolerance` and `brevix-cli batch tolerance` share: the
// machine-error options and the report as text or as JSON.
#include <string>
#include <vector>

#include "cli/json_writer.h"
#include "tolerance/tolerance.h"

namespace CLI {
class App;
}

namespace brevix::cli {

struct ToleranceArguments {
    tolerance::MachineError error;
    int samples = 200;
    int seed = 1;
    std::vector<optics::Environment> lightings{optics::Environment::Iso};
    bool worst = false;
};

// --angle-error DEG, --index-error DEG, --depth-error W, --samples N, --seed S,
// --lighting LIGHTING,LIGHTING... and --worst.
void addToleranceOptions(CLI::App& app, ToleranceArguments& into);
// Throws a UsageError when the options do not go together.
void checkToleranceOptions(const ToleranceArguments& options);
void applyToleranceOptions(const ToleranceArguments& from, tolerance::ToleranceOptions& to);

// The members of the report's JSON object, in their order: nominal,
// samples, iso, cos, tiers, most_sensitive, and with lightings other than
// ISO alone, judged (the lightings, worst, nominal, mean, p5, p95) and each
// tier's judged_per_degree. Brightness in per cent with
// one decimal as `brevix-cli light` prints it, sensitivity in points per
// degree with two; a sensitivity that could not be measured is null.
void addToleranceMembers(Json& object, const tolerance::ToleranceReport& report,
                         const tolerance::ToleranceOptions& options);

std::string toleranceText(const tolerance::ToleranceReport& report, const tolerance::ToleranceOptions& options);

}  // namespace brevix::cli
