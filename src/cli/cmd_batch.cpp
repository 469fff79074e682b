// batch light PATH... [options]: the light figures of every design found
// below the paths, one line each, scored on every core. A design that cannot
// be read gets its error line; nothing stops the batch. batch tolerance
// PATH... does the same with each design's tolerance of machine error.
#include <memory>
#include <cstdio>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/light_options.h"
#include "cli/options.h"
#include "cli/tolerance_report.h"
#include "collection/batch_output.h"
#include "collection/batch_run.h"
#include "collection/design_files.h"
#include "collection/design_read.h"
#include "collection/shard.h"
#include "collection/worker_pool.h"
#include "intent/design_intent.h"
#include "optics/light_score.h"
#include "optics/materials.h"
#include "optics/parallel_rows.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

using namespace brevix::collection;

// Each sub-command's usage line, and both for brevix-cli --help.
#define BATCH_LIGHT                                                                             \
    "light PATH... [--material NAME] [--size N] [--lighting aset|office|spot|dome] [--tilt-sweep FROM:TO:STEP] " \
    "[--scintillation] " \
    "[--jobs N] [--shard K/N] [--format jsonl|csv] [--no-cache]"
#define BATCH_TOLERANCE                                                                                  \
    "tolerance PATH... [--angle-error DEG] [--index-error DEG] [--depth-error W] [--samples N] [--seed S] " \
    "[--lighting LIGHTING,LIGHTING... [--worst]] [--material NAME] [--size N] [--jobs N] [--shard K/N]"
constexpr const char* BATCH_LIGHT_ARGUMENTS = BATCH_LIGHT;
constexpr const char* BATCH_TOLERANCE_ARGUMENTS = BATCH_TOLERANCE;
constexpr const char* BATCH_BOTH_ARGUMENTS = BATCH_LIGHT " | " BATCH_TOLERANCE;

struct BatchArguments {
    std::vector<std::string> paths;
    optics::LightSettings light;
    int jobs = 0;
    Shard shard;
    BatchFormat format = BatchFormat::JsonLines;
    bool cache = true;
};

int runBatch(const BatchArguments& a, std::ostream& out) {
    const FoundDesigns found = findDesigns(a.paths);
    showNotes(found.notes);
    const Range part = shardRange(found.entries.size(), a.shard);
    const std::vector<DesignEntry> entries(found.entries.begin() + static_cast<std::ptrdiff_t>(part.begin),
                                           found.entries.begin() + static_cast<std::ptrdiff_t>(part.end));

    const optics::Environment lighting = a.light.options.lighting.environment;
    if (a.format == BatchFormat::Csv) out << csvHeader(a.light.sweep, a.light.scintillation, lighting);
    BatchOptions options;
    options.light = a.light;
    options.jobs = a.jobs;
    const ScoreCache cache(a.cache ? userCacheFolder() : std::string());
    ProgressLine progress("scored", entries.size());
    size_t done = 0, failed = 0;
    const BatchTally tally = collection::runBatch(entries, options, cache, [&](const DesignFigures& f) {
        out << (a.format == BatchFormat::Csv ? csvLine(f, a.light.sweep, a.light.scintillation, lighting) : jsonLine(f));
        // Each line as it comes, so that a long batch can be watched or cut short.
        out.flush();
        ++done;
        failed += !f.ok();
        progress.update(done, failed);
    });
    progress.finish();
    return tally.failed > 0 ? EXIT_FAILED : EXIT_DONE;
}

struct BatchToleranceArguments {
    std::vector<std::string> paths;
    ToleranceArguments errors;
    std::optional<optics::Material> material;
    int size = tolerance::DEFAULT_PICTURE_SIZE;
    int jobs = 0;
    Shard shard;
};

// The design's line: its file, then the report's members or its error.
std::string toleranceLine(const DesignEntry& entry, const BatchToleranceArguments& a, int threads) {
    Json j = Json::object();
    j["file"] = entry.id();
    try {
        const ReadEntry read = readEntry(entry);
        if (!read.stone) {
            j["error"] = read.error;
        } else {
            if (!read.warning.empty()) j["warning"] = read.warning;
            const DesignIntent intent = intentOf(*read.stone, read.intent ? &*read.intent : nullptr);
            tolerance::ToleranceOptions options;
            applyToleranceOptions(a.errors, options);
            options.light.size = a.size;
            options.light.refractiveIndex =
                optics::chooseLight(a.material, std::nullopt, read.stone->refractiveIndex).refractiveIndex;
            options.threads = threads;
            const tolerance::ToleranceReport report = tolerance::analyseTolerance(*read.stone, intent, options);
            if (report.error.empty())
                addToleranceMembers(j, report, options);
            else
                j["error"] = report.error;
        }
    } catch (const std::exception& error) {
        j["error"] = error.what();
    }
    return j.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

int runBatchTolerance(const BatchToleranceArguments& a, std::ostream& out) {
    checkToleranceOptions(a.errors);
    const FoundDesigns found = findDesigns(a.paths);
    showNotes(found.notes);
    const Range part = shardRange(found.entries.size(), a.shard);
    const std::vector<DesignEntry> entries(found.entries.begin() + static_cast<std::ptrdiff_t>(part.begin),
                                           found.entries.begin() + static_cast<std::ptrdiff_t>(part.end));
    const int cores = optics::coreCount();
    const int jobs = jobCount(a.jobs, cores, entries.size());
    const int threads = innerThreads(cores, jobs, entries.size());
    std::vector<std::string> lines(entries.size());
    ProgressLine progress("scored", entries.size());
    size_t done = 0, failed = 0;
    runInOrder(
        entries.size(), jobs, [&](size_t i) { lines[i] = toleranceLine(entries[i], a, threads); },
        [&](size_t i) {
            out << lines[i];
            out.flush();
            ++done;
            failed += lines[i].find("\"error\":") != std::string::npos;
            lines[i].clear();
            progress.update(done, failed);
        });
    progress.finish();
    return failed > 0 ? EXIT_FAILED : EXIT_DONE;
}

void addJobsAndShard(CLI::App& app, int& jobs, Shard& shard) {
    addWholeNumber(app, "--jobs", "designs scored at once (else one per core)", {1, 1024, "a number", "4"}, "jobs",
                   jobs)
        ->type_name("N");
    app.add_option_function<std::string>(
           "--shard",
           [&shard](const std::string& text) {
               std::string error;
               const auto parsed = parseShard(text, error);
               if (!parsed) throw UsageError(error);
               shard = *parsed;
           },
           "score only the K-th of N equal parts of the sorted list of files")
        ->type_name("K/N");
}

void defineBatchTolerance(CLI::App& app, std::shared_ptr<BatchToleranceArguments> a) {
    CLI::App* tolerance = app.add_subcommand(
        "tolerance", "how forgiving of machine error every design below the paths is, one JSON line each");
    setUsage(*tolerance, std::string("brevix-cli batch ") + BATCH_TOLERANCE_ARGUMENTS);
    tolerance->add_option("PATH", a->paths, "design files, and folders searched with their subfolders")
        ->required()
        ->type_name("PATH ...");
    addToleranceOptions(*tolerance, a->errors);
    addMaterial(*tolerance, "--material", "a material of the list (else each design's own index)", a->material);
    addWholeNumber(*tolerance, "--size", "pixels a side of each picture (96 unless given)",
                   {8, 4096, "a number", "96"}, "pixels", a->size)
        ->type_name("N");
    addJobsAndShard(*tolerance, a->jobs, a->shard);
}

Run defineBatch(CLI::App& app) {
    app.require_subcommand(1);
    CLI::App* light = app.add_subcommand("light", "ISO and COS brightness of every design below the paths, "
                                                  "one line each, on every core");
    setUsage(*light, std::string("brevix-cli batch ") + BATCH_LIGHT_ARGUMENTS);
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
            "--lighting",
            [a](const std::string& text) { a->light.options.lighting.environment = oneLighting(text); },
            "also the figures under this room, each named by it (aset_brightness...)")
        ->type_name("aset|office|spot|dome");
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
    auto t = std::make_shared<BatchToleranceArguments>();
    defineBatchTolerance(app, t);
    return [a, t, light](std::ostream& out, RunState&) {
        return light->parsed() ? runBatch(*a, out) : runBatchTolerance(*t, out);
    };
}

}  // namespace

extern const Command batchCommand{"batch", BATCH_BOTH_ARGUMENTS,
                                  "light figures or tolerance of every design below the paths, on every core",
                                  defineBatch};

}  // namespace brevix::cli
