#include "collection/worker_pool.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace brevix::collection {

int innerThreads(int cores, int jobs, size_t items) {
    const size_t busy = std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(std::max(jobs, 1)), items));
    return std::max(1, cores / static_cast<int>(busy));
}

int jobCount(int requested, int cores, size_t items) {
    const int wanted = requested > 0 ? requested : std::max(cores, 1);
    return static_cast<int>(std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(wanted), std::max<size_t>(items, 1))));
}

int jobsWithinMemory(int jobs, uint64_t available, uint64_t perJob) {
    if (available == 0 || perJob == 0) return jobs;
    return static_cast<int>(std::clamp<uint64_t>(available / perJob, 1, static_cast<uint64_t>(std::max(jobs, 1))));
}

size_t runInOrder(size_t count, int jobs, const std::function<void(size_t)>& work,
                  const std::function<void(size_t)>& done, const std::atomic<bool>* cancel) {
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<char> ready(count, 0);
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (;;) {
            if (cancel && cancel->load(std::memory_order_relaxed)) break;
            const size_t i = next.fetch_add(1);
            if (i >= count) break;
            work(i);
            {
                std::lock_guard lock(mutex);
                ready[i] = 1;
            }
            finished.notify_one();
        }
        // Lets the waiting thread see that nothing more is coming.
        finished.notify_one();
    };
    std::vector<std::thread> pool;
    const int threads = std::max(1, std::min<int>(jobs, static_cast<int>(std::max<size_t>(count, 1))));
    pool.reserve(threads);
    for (int t = 0; t < threads; ++t) pool.emplace_back(worker);

    size_t handed = 0;
    for (; handed < count; ++handed) {
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return ready[handed] || (cancel && cancel->load()); });
        if (!ready[handed]) break;
        lock.unlock();
        done(handed);
    }
    for (std::thread& t : pool) t.join();
    // Whatever finished after a cancel but before the join is handed too, in order.
    for (; handed < count && ready[handed]; ++handed) done(handed);
    return handed;
}

}  // namespace brevix::collection
