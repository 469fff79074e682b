#pragma once
// Runs fits on a thread of its own so the window never waits for one. A
// new request gives up the fit in hand, whose figures would be stale; only
// the newest request is run. Results come to a callback on the worker's
// thread. Qt-free.
#include <atomic>
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
    // Gives up the fit in hand and waits for it to stop.
    ~FitWorker();
    FitWorker(const FitWorker&) = delete;
    FitWorker& operator=(const FitWorker&) = delete;

    // Replaces whatever waits.
    void request(FitJob job);
    // Gives up the fit in hand (its inputs changed); nothing is delivered for it.
    void cancel();
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
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

}  // namespace brevix::roughfit
