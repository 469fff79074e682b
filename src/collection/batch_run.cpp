#include "collection/batch_run.h"

#include "collection/score_entry.h"
#include "collection/worker_pool.h"
#include "optics/parallel_rows.h"

namespace brevix::collection {

BatchTally runBatch(const std::vector<DesignEntry>& entries, const BatchOptions& options,
                    const ScoreCache& cache, const std::function<void(const DesignFigures&)>& deliver) {
    const int cores = options.cores > 0 ? options.cores : optics::coreCount();
    const int jobs = jobCount(options.jobs, cores, entries.size());
    optics::LightSettings light = options.light;
    light.options.threads = innerThreads(cores, jobs, entries.size());
    light.options.cancel = options.cancel;

    std::vector<DesignFigures> results(entries.size());
    BatchTally tally;
    runInOrder(
        entries.size(), jobs, [&](size_t i) { results[i] = scoreEntry(entries[i], light, cache); },
        [&](size_t i) {
            DesignFigures& f = results[i];
            ++(f.ok() ? tally.scored : tally.failed);
            tally.cached += f.fromCache;
            deliver(f);
            f = DesignFigures{};  // a large batch keeps only what is still to be written
        },
        options.cancel);
    return tally;
}

}  // namespace brevix::collection
