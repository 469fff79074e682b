// intent FILE: each tier's cutting intent, one line a tier: recorded when
// the file kept it, inferred from the planes otherwise.
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
int runIntent(const std::string& file, std::ostream& out) {
    bool problems = false;
    const DesignAndIntent design = loadWithIntent(file, problems);
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
    auto file = std::make_shared<std::string>();
    addFile(app, "FILE", "the design (.brx, .gem or .asc)", *file);
    return [file](std::ostream& out, RunState&) { return runIntent(*file, out); };
}
}  // namespace

extern const Command intentCommand{"intent", "FILE", "print how each tier was placed (recorded or inferred)",
                                   defineIntent};

}  // namespace brevix::cli
