#pragma once
// The designs of a collection as they look in a lighting: each design's
// face-up picture (the ASET picture, an office or a spot room...) for the
// gallery's tiles, made on threads of its own so the window never waits.
// The design itself is traced, never the .thb beside it: a thumbnail keeps
// its corners to a byte and is good for drawing only. Pictures come through
// a callback on the worker's thread, in the entries' order; dropping the
// object gives up what is left and waits for the threads.
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "collection/design_files.h"
#include "optics/light_score.h"

namespace brevix::collection {

// The face-up picture of `design`, `side` pixels a side, under `lighting`,
// in the material of `light` (its options' size and lighting are not used).
optics::RgbPicture tilePicture(const Stone& design, const optics::LightSettings& light,
                               optics::Environment lighting, int side);

class TilePictures {
public:
    using Deliver = std::function<void(size_t, optics::RgbPicture)>;
    using Finished = std::function<void()>;

    // A design that cannot be read, or that nothing of the stone shows in,
    // gets no picture (its tile keeps its drawing). `finished` is called
    // after the last picture (not when given up).
    TilePictures(std::vector<DesignEntry> entries, optics::LightSettings light, optics::Environment lighting,
                 int side, Deliver deliver, Finished finished = {}, int jobs = 0);
    ~TilePictures();
    TilePictures(const TilePictures&) = delete;
    TilePictures& operator=(const TilePictures&) = delete;

    bool done() const { return done_; }

private:
    void run();

    std::vector<DesignEntry> entries_;
    optics::LightSettings light_;
    optics::Environment lighting_;
    int side_;
    Deliver deliver_;
    Finished finished_;
    int jobs_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace brevix::collection
