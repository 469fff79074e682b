// batch light PATH... [options]: the light figures of every design found
// below the paths, one line each, scored on every core. A design that cannot
// be read gets its error line; nothing stops the batch.
#include <unistd.h>

#include <memory>
#include <cstdio>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/options.h"
#include "collection/batch_output.h"
#include "collection/batch_run.h"
#include "collection/design_files.h"
#include "collection/shard.h"
#include "optics/materials.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

using namespace brevix::collection;

constexpr const char* ARGUMENTS =
    "light PATH... [--material NAME] [--size N] [--tilt-sweep FROM:TO:STEP] [--scintillation] [--jobs N] [--shard K/N] "
    "[--format jsonl|csv] [--no-cache]";

struct BatchArguments {
    std::vector<std::string> paths;
    optics::LightSettings light;
    int jobs = 0;
    Shard shard;
    BatchFormat format = BatchFormat::JsonLines;
    bool cache = true;
};

// "scored 37 of 200, 2 failed" kept on one line of the terminal.
class Progress {
public:
    explicit Progress(size_t total) : total_(total), shown_(::isatty(STDERR_FILENO) != 0) {}
    void update(size_t done, size_t failed) {
        if (!shown_) return;
        std::fprintf(stderr, "\rscored %zu of %zu, %zu failed", done, total_, failed);
        std::fflush(stderr);
    }
    void finish() {
        if (shown_) std::fprintf(stderr, "\r\033[K");
    }

private:
    size_t total_;
    bool shown_;
};

int runBatch(const BatchArguments& a, std::ostream& out) {
    const FoundDesigns found = findDesigns(a.paths);
    showNotes(found.notes);
    const Range part = shardRange(found.entries.size(), a.shard);
    const std::vector<DesignEntry> entries(found.entries.begin() + static_cast<std::ptrdiff_t>(part.begin),
                                           found.entries.begin() + static_cast<std::ptrdiff_t>(part.end));

    if (a.format == BatchFormat::Csv) out << csvHeader(a.light.sweep, a.light.scintillation);
    BatchOptions options;
    options.light = a.light;
    options.jobs = a.jobs;
    const ScoreCache cache(a.cache ? userCacheFolder() : std::string());
    Progress progress(entries.size());
    size_t done = 0, failed = 0;
    const BatchTally tally = collection::runBatch(entries, options, cache, [&](const DesignFigures& f) {
        out << (a.format == BatchFormat::Csv ? csvLine(f, a.light.sweep, a.light.scintillation) : jsonLine(f));
        // Each line as it comes, so that a long batch can be watched or cut short.
        out.flush();
        ++done;
        failed += !f.ok();
        progress.update(done, failed);
    });
    progress.finish();
    return tally.failed > 0 ? EXIT_FAILED : EXIT_DONE;
}

Run defineBatch(CLI::App& app) {
    app.require_subcommand(1);
    CLI::App* light = app.add_subcommand("light", "ISO and COS brightness of every design below the paths, "
                                                  "one line each, on every core");
    setUsage(*light, std::string("brevix-cli batch ") + ARGUMENTS);
    auto a = std::make_shared<BatchArguments>();
    light->add_option("PATH", a->paths, "design files, and folders searched with their subfolders")
        ->required()
        ->type_name("PATH ...");
    addMaterial(*light, "--material", "a material of the list (else each design's own index)", a->light.material);
    addWholeNumber(*light, "--size", "pixels a side of each face-up picture", {8, 4096, "a number", "128"},
                   "pixels", a->light.options.size)
        ->type_name("N");
    light
        ->add_option_function<std::string>(
            "--tilt-sweep",
            [a](const std::string& text) {
                std::string error;
                a->light.sweep = optics::parseTiltRange(text, error);
                if (!a->light.sweep) throw UsageError(error);
            },
            "brightness at each tilt from FROM to TO degrees in steps of STEP")
        ->type_name("FROM:TO:STEP");
    light->add_flag("--scintillation", a->light.scintillation,
                    "how much of the pattern switches as each design rocks (a sweep of its own)");
    addWholeNumber(*light, "--jobs", "designs scored at once (else one per core)", {1, 1024, "a number", "4"},
                   "jobs", a->jobs)
        ->type_name("N");
    light
        ->add_option_function<std::string>(
            "--shard",
            [a](const std::string& text) {
                std::string error;
                const auto shard = parseShard(text, error);
                if (!shard) throw UsageError(error);
                a->shard = *shard;
            },
            "score only the K-th of N equal parts of the sorted list of files")
        ->type_name("K/N");
    light
        ->add_option_function<std::string>(
            "--format",
            [a](const std::string& text) {
                const auto format = parseBatchFormat(text);
                if (!format) throw UsageError(strprintf("--format takes jsonl or csv, not '%s'", text.c_str()));
                a->format = *format;
            },
            "one JSON object a line (jsonl) or comma-separated values (csv)")
        ->type_name("jsonl|csv");
    light->add_flag_callback("--no-cache", [a] { a->cache = false; }, "score every design again");
    return [a](std::ostream& out, RunState&) { return runBatch(*a, out); };
}

}  // namespace

extern const Command batchCommand{"batch", ARGUMENTS, "light figures of every design below the paths, on every core",
                                  defineBatch};

}  // namespace brevix::cli
