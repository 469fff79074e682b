#include "app/rough/fit_worker.h"

namespace brevix::roughfit {

FitWorker::FitWorker(std::function<void(FitOutcome)> deliver)
    : deliver_(std::move(deliver)), thread_([this] { run(); }) {}

FitWorker::~FitWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_.reset();
    }
    wake_.notify_all();
    thread_.join();
}

void FitWorker::request(FitJob job) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(job);
    }
    wake_.notify_all();
}

bool FitWorker::idle() const {
    std::lock_guard lock(mutex_);
    return !pending_ && !busy_;
}

void FitWorker::run() {
    for (;;) {
        FitJob job;
        {
            std::unique_lock lock(mutex_);
            busy_ = false;
            wake_.wait(lock, [this] { return stopping_ || pending_; });
            if (stopping_) return;
            job = std::move(*pending_);
            pending_.reset();
            busy_ = true;
        }
        FitOutcome outcome = runFit(job);
        {
            // A newer request makes this one's figures stale: they are not shown.
            std::lock_guard lock(mutex_);
            if (stopping_ || pending_) continue;
        }
        deliver_(std::move(outcome));
    }
}

}  // namespace brevix::roughfit
