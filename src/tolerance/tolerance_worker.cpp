#include "tolerance/tolerance_worker.h"

namespace brevix::tolerance {

ToleranceWorker::ToleranceWorker(Deliver deliver, Progress progress)
    : deliver_(std::move(deliver)), progress_(std::move(progress)), thread_([this] { run(); }) {}

ToleranceWorker::~ToleranceWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        cancel_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void ToleranceWorker::request(ToleranceRequest request) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(request);
        cancel_ = true;
    }
    wake_.notify_all();
}

void ToleranceWorker::cancel() {
    std::lock_guard lock(mutex_);
    pending_.reset();
    cancel_ = true;
}

bool ToleranceWorker::idle() const {
    std::lock_guard lock(mutex_);
    return !pending_ && !busy_;
}

void ToleranceWorker::run() {
    for (;;) {
        ToleranceRequest job;
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
        if (!job.design) continue;
        job.options.cancel = &cancel_;
        const uint64_t generation = job.generation;
        if (progress_)
            job.options.progress = [this, generation](int done, int total) { progress_(generation, done, total); };
        ToleranceReport report = analyseTolerance(*job.design, job.intent, job.options);
        // A report a newer request overtook is of no use to anyone.
        if (!report.complete || cancel_.load()) continue;
        deliver_(generation, std::move(report));
    }
}

}  // namespace brevix::tolerance
