#pragma once
// What `brevix-cli tolerance` and `brevix-cli batch tolerance` share: the
// machine-error options and the report as text or as JSON.
#include <string>

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
};

// --angle-error DEG, --index-error DEG, --depth-error W, --samples N, --seed S.
void addToleranceOptions(CLI::App& app, ToleranceArguments& into);
void applyToleranceOptions(const ToleranceArguments& from, tolerance::ToleranceOptions& to);

// The members of the report's JSON object, in their order: nominal,
// samples, iso, cos, tiers, most_sensitive. Brightness in per cent with
// one decimal as `brevix-cli light` prints it, sensitivity in points per
// degree with two; a sensitivity that could not be measured is null.
void addToleranceMembers(Json& object, const tolerance::ToleranceReport& report);

std::string toleranceText(const tolerance::ToleranceReport& report, const tolerance::ToleranceOptions& options);

}  // namespace brevix::cli
