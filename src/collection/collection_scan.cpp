#include "collection/collection_scan.h"

#include <fstream>

#include "collection/batch_run.h"
#include "collection/score_entry.h"
#include "collection/worker_pool.h"
#include "files/thumbnail.h"
#include "optics/parallel_rows.h"

namespace brevix::collection {

std::string thumbnailBeside(const std::string& designPath) {
    const size_t dot = designPath.rfind('.');
    const size_t slash = designPath.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return designPath + ".thb";
    return designPath.substr(0, dot) + ".thb";
}

std::unique_ptr<Stone> tileStone(const DesignEntry& entry, std::unique_ptr<Stone> design) {
    if (!entry.inDatabase() && entry.problem.empty()) {
        std::ifstream in(thumbnailBeside(entry.path), std::ios::binary);
        if (in) {
            // The thumbnail's own complaints are no news for a tile: it falls
            // back to the design.
            auto thumbnail = std::make_unique<Stone>();
            if (readThb(*thumbnail, in) && thumbnail->nFacet > 0 && thumbnail->diagnostics().empty())
                return thumbnail;
        }
    }
    return design;
}

CollectionScan::CollectionScan(std::vector<DesignEntry> entries, optics::LightSettings light, std::string cacheFolder,
                               Callbacks callbacks, bool withFacts, int jobs)
    : entries_(std::move(entries)),
      light_(std::move(light)),
      cache_(std::move(cacheFolder)),
      callbacks_(std::move(callbacks)),
      withFacts_(withFacts),
      jobs_(jobs) {
    thread_ = std::thread([this] { run(); });
}

CollectionScan::~CollectionScan() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

void CollectionScan::run() {
    const int cores = optics::coreCount();
    if (withFacts_) {
        std::vector<DesignFigures> facts(entries_.size());
        std::vector<std::shared_ptr<Stone>> stones(entries_.size());
        runInOrder(
            entries_.size(), jobCount(jobs_, cores, entries_.size()),
            [&](size_t i) {
                std::unique_ptr<Stone> stone;
                facts[i] = readFacts(entries_[i], &stone);
                stones[i] = tileStone(entries_[i], std::move(stone));
            },
            [&](size_t i) {
                if (callbacks_.facts) callbacks_.facts(i, std::move(facts[i]), std::move(stones[i]));
            },
            &cancel_);
        if (cancel_) return;
    }
    BatchOptions options;
    options.light = light_;
    options.jobs = jobs_;
    options.cancel = &cancel_;
    size_t i = 0;
    runBatch(entries_, options, cache_, [&](const DesignFigures& f) {
        if (callbacks_.light) callbacks_.light(i, f);
        ++i;
    });
    if (cancel_) return;
    done_ = true;
    if (callbacks_.finished) callbacks_.finished();
}

}  // namespace brevix::collection
