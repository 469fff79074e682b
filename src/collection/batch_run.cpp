#include "collection/batch_run.h"

#include <algorithm>

#include "collection/score_entry.h"
#include "collection/worker_pool.h"
#include "optics/parallel_rows.h"
#include "platform/available_memory.h"

namespace brevix::collection {

uint64_t jobMemory(int size) {
    const uint64_t side = static_cast<uint64_t>(std::max(size, 1));
    return 13 * side * side + (16u << 20);
}

BatchTally runBatch(const std::vector<DesignEntry>& entries, const BatchOptions& options,
                    const ScoreCache& cache, const std::function<void(const DesignFigures&)>& deliver) {
    const int cores = options.cores > 0 ? options.cores : optics::coreCount();
    // Large pictures on many jobs would ask for more memory than there is:
    // fewer jobs at once finish sooner than a machine that swaps.
    const uint64_t memory = options.memory > 0 ? options.memory : availableMemory();
    const int jobs = jobsWithinMemory(jobCount(options.jobs, cores, entries.size()), memory,
                                      jobMemory(options.light.options.size));
    // Writers killed part way leave their temporaries; the cache is opened here.
    cache.removeStaleTemporaries();
    optics::LightSettings light = options.light;
    light.options.threads = innerThreads(cores, jobs, entries.size());
    light.options.cancel = options.cancel;

    std::vector<DesignFigures> results(entries.size());
    BatchTally tally;
    tally.jobs = jobs;
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
