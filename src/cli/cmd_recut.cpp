// recut IN OUT --set TIER=ANGLE [--set TIER=ANGLE ...]: changes the named
// tiers' angles and re-cuts the design by its intent (recorded or
// inferred), so that later tiers keep meeting what they were cut to.
#include <cstdlib>
#include <ostream>
#include <utility>
#include <vector>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/intent_files.h"
#include "document/design_io.h"
#include "document/file_type.h"
#include "intent/design_intent.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

constexpr const char* ARGUMENTS = "IN OUT --set TIER=ANGLE [--set TIER=ANGLE ...]";

struct AngleSetting {
    std::string tier;
    double angle = 0;
};

bool readSetting(const std::string& text, AngleSetting& setting) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    setting.tier = text.substr(0, equals);
    const std::string value = text.substr(equals + 1);
    char* end = nullptr;
    setting.angle = std::strtod(value.c_str(), &end);
    return !value.empty() && end && *end == '\0' && setting.angle >= 0 && setting.angle <= 90;
}

int runRecut(std::span<const std::string> args, std::ostream&) {
    std::vector<std::string> files;
    std::vector<AngleSetting> settings;
    for (size_t k = 0; k < args.size(); ++k) {
        if (args[k] == "--set") {
            AngleSetting setting;
            if (k + 1 >= args.size() || !readSetting(args[k + 1], setting)) {
                reportError("--set takes TIER=ANGLE, the angle in degrees from 0 to 90 as the cut list shows it");
                return EXIT_USAGE;
            }
            settings.push_back(setting);
            ++k;
        } else {
            files.push_back(args[k]);
        }
    }
    if (files.size() != 2 || settings.empty()) {
        reportError(strprintf("usage: brevix-cli recut %s", ARGUMENTS));
        return EXIT_USAGE;
    }
    const FileType type = fileTypeOf(files[1]);
    if (type != FileType::Gem && type != FileType::Asc && !isIntentPath(files[1])) {
        reportError(strprintf("%s: the name must end in .brx, .gem or .asc", files[1].c_str()));
        return EXIT_USAGE;
    }
    bool problems = false;
    DesignAndIntent design = loadWithIntent(files[0], problems);
    if (!design.stone) return EXIT_FAILED;
    Stone* stone = design.stone.get();
    DesignIntent& intent = design.intent;
    bool kept = true;
    for (const AngleSetting& setting : settings) {
        const int32_t tier = findTier(*stone, intent, setting.tier);
        if (tier < 0) {
            reportError(strprintf("%s: no tier %s", files[0].c_str(), setting.tier.c_str()));
            return EXIT_FAILED;
        }
        RecutResult cut = recutTierAngle(*stone, intent, tier, setting.angle);
        for (const std::string& problem : cut.problems) reportError(problem);
        kept = kept && cut.ok();
        *stone = std::move(cut.stone);
        intent = std::move(cut.intent);
    }
    if (!saveWithIntent(*stone, intent, files[1])) return EXIT_FAILED;
    return kept && !problems ? EXIT_DONE : EXIT_FAILED;
}

}  // namespace

extern const Command recutCommand{"recut", ARGUMENTS, "change tiers' angles and re-cut the design by its intent", 2,
                                  runRecut, 64};

}  // namespace brevix::cli
