#pragma once
// Renders the Light Performance pane's pictures on a thread of its own so
// the window never waits: a new request gives up the one in progress. Each
// request brings, in turn, a coarse picture (only when a fine one took longer
// than a frame last time), the fine picture, and the tilt sweep. Qt-free;
// results are handed to a callback on the worker's thread.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "kernel/stone.h"
#include "optics/face_up.h"
#include "optics/light_metrics.h"
#include "optics/light_picture.h"
#include "optics/tilt_sweep.h"

namespace brevix {

struct LightRequest {
    std::shared_ptr<const Stone> stone;
    // size: of the fine picture; lighting.environment: what the picture
    // shows, and the room whose figures come with it.
    optics::FaceUpOptions options;
    bool dispersion = false;
    double dispersionValue = 0;     // nF - nC
    optics::TiltRange sweep{-30, 30, 5};
    int sweepSize = 96;
    uint64_t generation = 0;
};

struct LightResult {
    enum Stage { Coarse, Fine, Sweep };
    uint64_t generation = 0;
    Stage stage = Fine;
    double isoBrightness = 0, cosBrightness = 0;
    optics::LightMetrics metrics;       // windowing, extinction, contrast
    std::optional<double> fire;         // with dispersion
    std::optional<optics::SceneFigures> scene;  // under a room
    optics::RgbPicture picture;
    optics::TiltSweep sweep;
    double scintillation = 0;           // Sweep: over optics::SCINTILLATION_TILTS
    std::optional<double> sceneScintillation;  // Sweep: the same under a room
    double milliseconds = 0;
};

class LightRenderWorker {
public:
    // A fine picture slower than this is preceded by a coarse one next time.
    static constexpr double FRAME_MILLISECONDS = 16.0;
    static constexpr int COARSE_DIVISOR = 4;

    explicit LightRenderWorker(std::function<void(LightResult)> deliver);
    ~LightRenderWorker();
    LightRenderWorker(const LightRenderWorker&) = delete;
    LightRenderWorker& operator=(const LightRenderWorker&) = delete;

    // Replaces whatever waits and gives up the picture being made.
    void request(LightRequest request);
    // True while nothing waits and nothing is being made (for tests).
    bool idle() const;

private:
    void run();
    bool superseded() const { return cancel_.load(); }

    std::function<void(LightResult)> deliver_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<LightRequest> pending_;
    bool busy_ = false;
    bool stopping_ = false;
    std::atomic<bool> cancel_{false};
    double lastFineMilliseconds_ = 0;
    std::thread thread_;
};

}  // namespace brevix
