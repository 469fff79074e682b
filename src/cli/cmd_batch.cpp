// batch light PATH... [options]: the light figures of every design found
// below the paths, one line each, scored on every core. A design that cannot
// be read gets its error line; nothing stops the batch.
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
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
    "light PATH... [--material NAME] [--size N] [--tilt-sweep FROM:TO:STEP] [--jobs N] [--shard K/N] "
    "[--format jsonl|csv] [--no-cache]";

constexpr int MIN_SIZE = 8, MAX_SIZE = 4096, MAX_JOBS = 1024;

struct BatchArguments {
    std::vector<std::string> paths;
    optics::LightSettings light;
    int jobs = 0;
    Shard shard;
    BatchFormat format = BatchFormat::JsonLines;
    bool cache = true;
};

int usage(const std::string& why = {}) {
    if (!why.empty()) reportError(why);
    reportError(strprintf("usage: brevix-cli batch %s", ARGUMENTS));
    return EXIT_USAGE;
}

bool wholeIn(const std::string& text, int low, int high, int& into) {
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, into);
    return first != last && ec == std::errc() && end == last && into >= low && into <= high;
}

// All of the command's options in one place, so that they move as one.
int parseBatchArguments(std::span<const std::string> args, BatchArguments& into) {
    if (args.empty() || args[0] != "light") return usage("batch knows one kind of work: light");
    for (size_t i = 1; i < args.size(); ++i) {
        std::string name = args[i], value;
        if (name == "--no-cache") {
            into.cache = false;
            continue;
        }
        if (!name.starts_with("--")) {
            into.paths.push_back(name);
            continue;
        }
        if (const size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else {
            if (i + 1 >= args.size()) return usage(strprintf("%s needs a value", name.c_str()));
            value = args[++i];
        }
        if (name == "--material") {
            into.light.material = optics::findMaterial(value);
            if (!into.light.material) {
                std::string names;
                for (const optics::Material& m : optics::materials()) names += (names.empty() ? "" : ", ") + m.name;
                return usage(strprintf("unknown material '%s' (one of: %s)", value.c_str(), names.c_str()));
            }
        } else if (name == "--size") {
            if (!wholeIn(value, MIN_SIZE, MAX_SIZE, into.light.options.size))
                return usage(strprintf("--size takes a whole number from %d to %d, not '%s'", MIN_SIZE, MAX_SIZE,
                                       value.c_str()));
        } else if (name == "--tilt-sweep") {
            std::string error;
            into.light.sweep = optics::parseTiltRange(value, error);
            if (!into.light.sweep) return usage(error);
        } else if (name == "--jobs") {
            if (!wholeIn(value, 1, MAX_JOBS, into.jobs))
                return usage(strprintf("--jobs takes a whole number from 1 to %d, not '%s'", MAX_JOBS, value.c_str()));
        } else if (name == "--shard") {
            std::string error;
            const auto shard = parseShard(value, error);
            if (!shard) return usage(error);
            into.shard = *shard;
        } else if (name == "--format") {
            const auto format = parseBatchFormat(value);
            if (!format) return usage(strprintf("--format takes jsonl or csv, not '%s'", value.c_str()));
            into.format = *format;
        } else {
            return usage(strprintf("unknown option '%s'", name.c_str()));
        }
    }
    if (into.paths.empty()) return usage("give at least one file or folder");
    return EXIT_DONE;
}

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

int runBatch(std::span<const std::string> args, std::ostream& out) {
    BatchArguments a;
    if (const int code = parseBatchArguments(args, a); code != EXIT_DONE) return code;

    const FoundDesigns found = findDesigns(a.paths);
    const Range part = shardRange(found.entries.size(), a.shard);
    const std::vector<DesignEntry> entries(found.entries.begin() + static_cast<std::ptrdiff_t>(part.begin),
                                           found.entries.begin() + static_cast<std::ptrdiff_t>(part.end));

    if (a.format == BatchFormat::Csv) out << csvHeader(a.light.sweep);
    BatchOptions options;
    options.light = a.light;
    options.jobs = a.jobs;
    const ScoreCache cache(a.cache ? userCacheFolder() : std::string());
    Progress progress(entries.size());
    size_t done = 0, failed = 0;
    const BatchTally tally = collection::runBatch(entries, options, cache, [&](const DesignFigures& f) {
        out << (a.format == BatchFormat::Csv ? csvLine(f, a.light.sweep) : jsonLine(f));
        // Each line as it comes, so that a long batch can be watched or cut short.
        out.flush();
        ++done;
        failed += !f.ok();
        progress.update(done, failed);
    });
    progress.finish();
    return tally.failed > 0 ? EXIT_FAILED : EXIT_DONE;
}

}  // namespace

extern const Command batchCommand{"batch", ARGUMENTS,
                                  "light figures of every design below the paths, on every core", 1,
                                  runBatch, 1 << 20};

}  // namespace brevix::cli
