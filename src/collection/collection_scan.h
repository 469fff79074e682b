#pragma once
// The work behind a gallery, on threads of its own so that the window never
// waits: first the designs are found below the folder (when asked), then
// every design is read for its tile (its facts, and the stone
// to draw: the thumbnail beside the file when there is one, else the design
// itself), then every design is scored for light in the chosen material,
// from the cache when it can be. Results come through callbacks on the
// scan's threads; dropping the scan gives up what is left and waits for
// the threads.
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "collection/design_files.h"
#include "collection/figures.h"
#include "collection/score_cache.h"
#include "kernel/stone.h"

namespace brevix::collection {

// The stone a tile shows: the .thb beside a design file when it reads, else
// the design's own stone (moved from `design`). None for a database entry
// without a stone.
std::unique_ptr<Stone> tileStone(const DesignEntry& entry, std::unique_ptr<Stone> design);

// The thumbnail file beside a design file: the same name with .thb.
std::string thumbnailBeside(const std::string& designPath);

class CollectionScan {
public:
    struct Callbacks {
        // The designs found, before any of them is read (search scans only).
        std::function<void(FoundDesigns)> found;
        // Index into the entries, the facts (or the error) and the stone to draw.
        std::function<void(size_t, DesignFigures, std::shared_ptr<Stone>)> facts;
        // Index and the figures with their light.
        std::function<void(size_t, DesignFigures)> light;
        // Both stages are over (not called when given up).
        std::function<void()> finished;
    };

    // Both stages (`withFacts` false: the light stage alone, for a new material).
    CollectionScan(std::vector<DesignEntry> entries, optics::LightSettings light, std::string cacheFolder,
                   Callbacks callbacks, bool withFacts = true, int jobs = 0);
    // The designs below `paths` found first, then both stages.
    CollectionScan(std::vector<std::string> paths, optics::LightSettings light, std::string cacheFolder,
                   Callbacks callbacks);
    ~CollectionScan();
    CollectionScan(const CollectionScan&) = delete;
    CollectionScan& operator=(const CollectionScan&) = delete;

    void cancel() { cancel_ = true; }
    bool done() const { return done_; }

private:
    void run();

    std::vector<std::string> searchPaths_;
    std::vector<DesignEntry> entries_;
    optics::LightSettings light_;
    ScoreCache cache_;
    Callbacks callbacks_;
    bool withFacts_;
    int jobs_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace brevix::collection
