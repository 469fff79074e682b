#include "app/rough/fit_worker.h"

namespace brevix::roughfit {

FitWorker::FitWorker(std::function<void(FitOutcome)> deliver)
    : deliver_(std::move(deliver)), thread_([this] { run(); }) {}

FitWorker::~FitWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        cancel_ = true;
        pending_.reset();
    }
    wake_.notify_all();
    thread_.join();
}

void FitWorker::request(FitJob job) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(job);
        cancel_ = true;
    }
    wake_.notify_all();
}

void FitWorker::cancel() {
    std::lock_guard lock(mutex_);
    cancel_ = true;
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
            cancel_ = false;
            busy_ = true;
        }
        job.options.cancel = &cancel_;
        FitOutcome outcome = runFit(job);
        {
            // A fit given up stops at the best placement so far: not the largest stone.
            std::lock_guard lock(mutex_);
            if (stopping_ || cancel_) continue;
        }
        deliver_(std::move(outcome));
    }
}

}  // namespace brevix::roughfit
