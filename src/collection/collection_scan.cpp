#include "collection/collection_scan.h"

#include <sstream>

#include "collection/entry_file.h"

#include "collection/batch_run.h"
#include "collection/score_entry.h"
#include "collection/worker_pool.h"
#include "files/thumbnail.h"
#include "optics/parallel_rows.h"

namespace brevix::collection {

namespace {

// Far above what a thumbnail of the largest design takes.
constexpr size_t MAX_THUMBNAIL_BYTES = 64u << 20;

}  // namespace

std::string thumbnailBeside(const std::string& designPath) {
    const size_t dot = designPath.rfind('.');
    const size_t slash = designPath.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return designPath + ".thb";
    return designPath.substr(0, dot) + ".thb";
}

std::unique_ptr<Stone> tileStone(const DesignEntry& entry, std::unique_ptr<Stone> design) {
    if (entry.inDatabase() || !entry.problem.empty()) return design;
    // A thumbnail that is a folder, a pipe or unreadable, or whose own
    // complaints are no news for a tile: the tile falls back to the design.
    std::string bytes, problem;
    if (!readWholeFile(thumbnailBeside(entry.path), bytes, problem, MAX_THUMBNAIL_BYTES)) return design;
    try {
        std::istringstream in(bytes);
        auto thumbnail = std::make_unique<Stone>();
        if (readThb(*thumbnail, in) && thumbnail->nFacet > 0 && thumbnail->diagnostics().empty()) return thumbnail;
    } catch (const std::exception&) {
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

CollectionScan::CollectionScan(std::vector<std::string> paths, optics::LightSettings light, std::string cacheFolder,
                               Callbacks callbacks)
    : searchPaths_(std::move(paths)),
      light_(std::move(light)),
      cache_(std::move(cacheFolder)),
      callbacks_(std::move(callbacks)),
      withFacts_(true),
      jobs_(0) {
    thread_ = std::thread([this] { run(); });
}

CollectionScan::~CollectionScan() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

void CollectionScan::run() {
    const int cores = optics::coreCount();
    if (!searchPaths_.empty()) {
        FoundDesigns found = findDesigns(searchPaths_);
        entries_ = found.entries;
        if (callbacks_.found) callbacks_.found(std::move(found));
        if (cancel_) return;
    }
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
