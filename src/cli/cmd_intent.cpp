// intent FILE: each tier's cutting intent, one line a tier: recorded when
// the file kept it, inferred from the planes otherwise (with the gap of a
// meet the planes only came near).
#include <memory>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/options.h"
#include "cli/intent_files.h"
#include "intent/design_intent.h"
#include "intent/intent_words.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"

namespace brevix::cli {

namespace {
struct IntentArguments {
    std::string file;
    double meetTolerance = DEFAULT_MEET_TOLERANCE_W;
};

int runIntent(const IntentArguments& a, std::ostream& out) {
    bool problems = false;
    const DesignAndIntent design = loadWithIntent(a.file, problems, a.meetTolerance);
    if (!design.stone) return EXIT_FAILED;
    const Stone* stone = design.stone.get();
    const DesignIntent& intent = design.intent;
    bool kept = true;
    for (size_t t = 0; t < intent.tiers.size(); ++t) {
        const TierIntent& tier = intent.tiers[t];
        out << cp1252ToUtf8(strprintf("%d\t%s\t%.2f\xB0\t%s\n", int(t + 1),
                                      tierLabel(*stone, intent, int32_t(t)).c_str(), tier.angle,
                                      intentWords(*stone, intent, int32_t(t)).c_str()));
        kept = kept && tier.failure.empty();
    }
    return kept && !problems ? EXIT_DONE : EXIT_FAILED;
}

Run defineIntent(CLI::App& app) {
    auto a = std::make_shared<IntentArguments>();
    addFile(app, "FILE", "the design (.brx, .gem or .asc)", a->file);
    addMeetTolerance(app, a->meetTolerance);
    return [a](std::ostream& out, RunState&) { return runIntent(*a, out); };
}
}  // namespace

extern const Command intentCommand{"intent", "FILE", "print how each tier was placed (recorded or inferred)",
                                   defineIntent};

}  // namespace brevix::cli
