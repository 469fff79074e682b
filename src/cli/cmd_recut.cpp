// recut IN OUT --set TIER=ANGLE [--set TIER=ANGLE ...]: changes the named
// tiers' angles and re-cuts the design by its intent (recorded or
// inferred), so that later tiers keep meeting what they were cut to.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/options.h"
#include "cli/intent_files.h"
#include "document/design_io.h"
#include "document/file_type.h"
#include "intent/design_intent.h"
#include "live/design_warnings.h"
#include "platform/number_parse.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"

namespace brevix::cli {

namespace {

constexpr const char* RECUT_ARGUMENTS = "IN OUT --set TIER=ANGLE [--set TIER=ANGLE ...]";

struct AngleSetting {
    std::string tier;
    double angle = 0;
};

bool readSetting(const std::string& text, AngleSetting& setting) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    setting.tier = text.substr(0, equals);
    const std::string value = text.substr(equals + 1);
    size_t length = 0;
    const std::optional<double> angle = leadingNumber(value, &length);
    setting.angle = angle.value_or(0);
    return angle && length == value.size() && setting.angle >= 0 && setting.angle <= 90;
}

struct RecutArguments {
    std::vector<std::string> files;  // IN and OUT
    std::vector<AngleSetting> settings;
    double meetTolerance = DEFAULT_MEET_TOLERANCE_W;
};

// A tier the new angles cut away entirely is kept by the intent (a later
// change may bring it back), so the run succeeds; but the stone written
// lacks it, and the cutter has to hear that.
void warnOfCutAwayTiers(const Stone& stone, const DesignIntent& intent) {
    for (const DesignWarning& w : designWarnings(stone, &intent))
        if (w.kind == WarningKind::TierCutAway)
            std::fprintf(stderr, "warning: %s\n", cp1252ToUtf8(w.text).c_str());
}

int runRecut(const RecutArguments& a) {
    const std::vector<std::string>& files = a.files;
    const std::vector<AngleSetting>& settings = a.settings;
    const FileType type = fileTypeOf(files[1]);
    if (type != FileType::Gem && type != FileType::Asc && !isIntentPath(files[1]))
        throw UsageError(strprintf("%s: the name must end in .brx, .gem or .asc", files[1].c_str()));
    bool problems = false;
    DesignAndIntent design = loadWithIntent(files[0], problems, a.meetTolerance);
    if (!design.stone) return EXIT_FAILED;
    // The file was read only up to a line it could not take: writing the
    // re-cut would drop every tier after it (over IN itself, when OUT is IN).
    if (design.damaged) {
        reportError(strprintf("%s: not re-cut, as it was read only in part", files[0].c_str()));
        return EXIT_FAILED;
    }
    Stone* stone = design.stone.get();
    DesignIntent& intent = design.intent;
    for (const AngleSetting& setting : settings) {
        const int32_t tier = findTier(*stone, intent, setting.tier);
        if (tier < 0) {
            reportError(strprintf("%s: no tier %s", files[0].c_str(), setting.tier.c_str()));
            return EXIT_FAILED;
        }
        RecutResult cut = recutTierAngle(*stone, intent, tier, setting.angle, a.meetTolerance);
        for (const std::string& problem : cut.problems) reportError(problem);
        // A script reads exit 1 as "nothing done": OUT, which may be IN
        // itself, is not written when a tier could not keep its intent.
        if (!cut.ok()) return EXIT_FAILED;
        *stone = std::move(cut.stone);
        intent = std::move(cut.intent);
    }
    warnOfCutAwayTiers(*stone, intent);
    if (!saveWithIntent(*stone, intent, files[1])) return EXIT_FAILED;
    return !problems ? EXIT_DONE : EXIT_FAILED;
}

Run defineRecut(CLI::App& app) {
    auto a = std::make_shared<RecutArguments>();
    app.add_option("FILES", a->files, "the design to read (IN) and the file to write (OUT)")
        ->required()
        ->expected(2)
        ->type_name("IN OUT");
    app.add_option_function<std::vector<std::string>>(
           "--set",
           [a](const std::vector<std::string>& texts) {
               for (const std::string& text : texts) {
                   AngleSetting setting;
                   if (!readSetting(text, setting))
                       throw UsageError(
                           "--set takes TIER=ANGLE, the angle in degrees from 0 to 90 as the cut list shows it");
                   a->settings.push_back(setting);
               }
           },
           "give TIER (its name or number) the angle ANGLE")
        ->required()
        ->allow_extra_args(false)
        ->type_name("TIER=ANGLE");
    addMeetTolerance(app, a->meetTolerance);
    return [a](std::ostream&, RunState&) { return runRecut(*a); };
}

}  // namespace

extern const Command recutCommand{"recut", RECUT_ARGUMENTS, "change tiers' angles and re-cut the design by its intent",
                                  defineRecut};

}  // namespace brevix::cli
