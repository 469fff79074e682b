#pragma once
// Runs fits on a thread of its own so the window never waits for one. A
// fit cannot be interrupted: a request made while one runs waits for it,
// and only the newest waiting request is run. Results come to a callback on
// the worker's thread. Qt-free.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "app/rough/fit_job.h"

namespace brevix::roughfit {

class FitWorker {
public:
    explicit FitWorker(std::function<void(FitOutcome)> deliver);
    // Waits for the fit in hand to end: its inputs may not outlive it.
    ~FitWorker();
    FitWorker(const FitWorker&) = delete;
    FitWorker& operator=(const FitWorker&) = delete;

    // Replaces whatever waits.
    void request(FitJob job);
    // True while nothing waits and nothing is being fitted.
    bool idle() const;

private:
    void run();

    std::function<void(FitOutcome)> deliver_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<FitJob> pending_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace brevix::roughfit
