#pragma once
// Tolerance analysis on a thread of its own, for a window that must not
// wait: a new request gives up the one in progress, and only the latest
// request's report is delivered. Qt-free; reports and progress are handed
// to callbacks on the worker's thread.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "intent/intent.h"
#include "kernel/stone.h"
#include "tolerance/tolerance.h"

namespace brevix::tolerance {

struct ToleranceRequest {
    std::shared_ptr<const Stone> design;
    DesignIntent intent;
    ToleranceOptions options;  // its cancel and progress are the worker's own
    uint64_t generation = 0;
};

class ToleranceWorker {
public:
    using Deliver = std::function<void(uint64_t generation, ToleranceReport report)>;
    using Progress = std::function<void(uint64_t generation, int done, int total)>;

    ToleranceWorker(Deliver deliver, Progress progress = {});
    ~ToleranceWorker();
    ToleranceWorker(const ToleranceWorker&) = delete;
    ToleranceWorker& operator=(const ToleranceWorker&) = delete;

    // Replaces whatever waits and gives up the analysis being made.
    void request(ToleranceRequest request);
    // Gives up what waits and what is being made; nothing is delivered.
    void cancel();
    // True while nothing waits and nothing is being made.
    bool idle() const;

private:
    void run();

    Deliver deliver_;
    Progress progress_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<ToleranceRequest> pending_;
    bool busy_ = false;
    bool stopping_ = false;
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

}  // namespace brevix::tolerance
