#pragma once
// Scoring a list of designs on every core: results come back in the list's
// order through `deliver`, on the calling thread, while the work goes on.
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "collection/design_files.h"
#include "collection/figures.h"
#include "collection/score_cache.h"

namespace brevix::collection {

struct BatchOptions {
    optics::LightSettings light;  // options.threads is decided here
    int jobs = 0;                 // 0: one per core
    int cores = 0;                // 0: this machine's
    uint64_t memory = 0;          // bytes the jobs may take together; 0: what this machine has free
    const std::atomic<bool>* cancel = nullptr;
};

struct BatchTally {
    size_t scored = 0, failed = 0, cached = 0;
    int jobs = 0;  // run at once
};

// What one job scoring light at `size` pixels a side may take at most: the
// face-up picture's buffers (about 13 bytes a pixel) and the design.
uint64_t jobMemory(int size);

BatchTally runBatch(const std::vector<DesignEntry>& entries, const BatchOptions& options,
                    const ScoreCache& cache, const std::function<void(const DesignFigures&)>& deliver);

}  // namespace brevix::collection
