#include "app/panes/light_render_worker.h"

#include <algorithm>
#include <chrono>

#include "optics/dispersion.h"

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
            if (job.dispersion) {
                const optics::DispersionImage fire = optics::renderDispersion(*job.stone, options, job.dispersionValue);
                if (!fire.complete) return false;
                result.isoBrightness = fire.channels[1].isoBrightness;
                result.cosBrightness = fire.channels[1].cosBrightness;
                result.metrics = optics::lightMetrics(fire.channels[1]);
                result.fire = optics::fireFigure(fire);
                result.picture = optics::picture(fire, job.model);
            } else {
                const optics::FaceUpImage image = optics::renderFaceUp(*job.stone, options);
                if (!image.complete) return false;
                result.isoBrightness = image.isoBrightness;
                result.cosBrightness = image.cosBrightness;
                result.metrics = optics::lightMetrics(image);
                result.picture = optics::picture(image, job.model);
            }
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
        sweep.milliseconds = millisecondsSince(start);
        if (!sweep.sweep.complete || superseded()) continue;
        deliver_(std::move(sweep));
    }
}

}  // namespace brevix
