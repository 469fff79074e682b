#include "optics/parallel_rows.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace brevix::optics {

int coreCount() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

bool forEachRow(int rows, int threads, const std::atomic<bool>* cancel,
                const std::function<void(int)>& work) {
    if (threads <= 0) threads = coreCount();
    threads = std::clamp(threads, 1, std::max(rows, 1));
    std::atomic<int> next{0};
    auto worker = [&] {
        for (;;) {
            if (cancel && cancel->load(std::memory_order_relaxed)) return;
            const int row = next.fetch_add(1, std::memory_order_relaxed);
            if (row >= rows) return;
            work(row);
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    for (int i = 1; i < threads; ++i) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
    return !(cancel && cancel->load());
}

}  // namespace brevix::optics
