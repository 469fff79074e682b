#include "app/panes/light_render_worker.h"

#include <algorithm>
#include <chrono>

#include "optics/light_score.h"

namespace brevix {

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

LightRenderWorker::LightRenderWorker(std::function<void(LightResult)> deliver)
    : deliver_(std::move(deliver)), thread_([this] { run(); }) {}

LightRenderWorker::~LightRenderWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        cancel_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void LightRenderWorker::request(LightRequest request) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(request);
        cancel_ = true;
    }
    wake_.notify_all();
}

bool LightRenderWorker::idle() const {
    std::lock_guard lock(mutex_);
    return !pending_ && !busy_;
}

void LightRenderWorker::run() {
    for (;;) {
        LightRequest job;
        {
            std::unique_lock lock(mutex_);
            busy_ = false;
            wake_.wait(lock, [this] { return stopping_ || pending_; });
            if (stopping_) return;
            job = std::move(*pending_);
            pending_.reset();
            cancel_ = false;
            busy_ = true;
        }
        if (!job.stone) continue;
        optics::FaceUpOptions options = job.options;
        options.cancel = &cancel_;

        // One picture at `size`: the plain one, or three colours for fire.
        auto render = [&](int size, LightResult::Stage stage) -> bool {
            const Clock::time_point start = Clock::now();
            options.size = size;
            LightResult result;
            result.generation = job.generation;
            result.stage = stage;
            const optics::LightRender made = optics::renderLight(
                *job.stone, options, job.dispersion ? std::optional(job.dispersionValue) : std::nullopt);
            if (!made.complete) return false;
            result.isoBrightness = made.image.isoBrightness;
            result.cosBrightness = made.image.cosBrightness;
            result.metrics = optics::lightMetrics(made.image);
            if (made.colours) result.fire = optics::fireFigure(*made.colours);
            const optics::Environment lighting = options.lighting.environment;
            if (optics::hasScene(lighting)) result.scene = optics::sceneFigures(made.image);
            result.picture = optics::picture(made, lighting);
            result.milliseconds = millisecondsSince(start);
            if (stage == LightResult::Fine) lastFineMilliseconds_ = result.milliseconds;
            if (superseded()) return false;
            deliver_(std::move(result));
            return true;
        };

        const int fine = std::max(job.options.size, 8);
        if (lastFineMilliseconds_ > FRAME_MILLISECONDS && fine >= 8 * COARSE_DIVISOR &&
            !render(fine / COARSE_DIVISOR, LightResult::Coarse))
            continue;
        if (!render(fine, LightResult::Fine)) continue;

        const Clock::time_point start = Clock::now();
        optics::FaceUpOptions sweepOptions = options;
        sweepOptions.size = job.sweepSize;
        LightResult sweep;
        sweep.generation = job.generation;
        sweep.stage = LightResult::Sweep;
        sweep.sweep = optics::sweepTilts(*job.stone, sweepOptions, job.sweep);
        if (!sweep.sweep.complete || superseded()) continue;
        // Scintillation wants neighbouring small tilts: a sweep of its own,
        // as brevix-cli light --scintillation measures it.
        const optics::TiltSweep small = optics::sweepTilts(*job.stone, sweepOptions, optics::SCINTILLATION_TILTS);
        if (!small.complete || superseded()) continue;
        sweep.scintillation = small.scintillation;
        if (optics::hasScene(options.lighting.environment)) sweep.sceneScintillation = small.sceneScintillation;
        sweep.milliseconds = millisecondsSince(start);
        deliver_(std::move(sweep));
    }
}

}  // namespace brevix
