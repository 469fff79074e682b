#include "optics/parallel_rows.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace brevix::optics {

int coreCount() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

bool forEachRow(int rows, int threads, const std::atomic<bool>* cancel,
                const std::function<void(int)>& work) {
    return forEachBand(rows, 1, threads, cancel, [&](int first, int) { work(first); });
}

bool forEachBand(int rows, int band, int threads, const std::atomic<bool>* cancel,
                 const std::function<void(int, int)>& work) {
    band = std::max(band, 1);
    const int bands = rows <= 0 ? 0 : (rows - 1) / band + 1;
    if (threads <= 0) threads = coreCount();
    threads = std::clamp(threads, 1, std::max(bands, 1));
    std::atomic<int> next{0};
    auto worker = [&] {
        for (;;) {
            if (cancel && cancel->load(std::memory_order_relaxed)) return;
            const int b = next.fetch_add(1, std::memory_order_relaxed);
            if (b >= bands) return;
            work(b * band, std::min(rows, (b + 1) * band));
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
