#pragma once
// Runs a piece of work for each row of a picture on every core. Plain
// std::thread: the work is one flat loop of independent rows, so a task
// library would add a dependency and nothing the loop needs.
#include <atomic>
#include <functional>

namespace brevix::optics {

// Calls work(row) once for every row in [0, rows) on `threads` threads
// (0 = one per core), handing out rows as threads become free so uneven
// rows balance. Stops handing out rows once *cancel is set; returns false
// then.
bool forEachRow(int rows, int threads, const std::atomic<bool>* cancel,
                const std::function<void(int)>& work);

// The same, handing out bands of `band` neighbouring rows: work(first, end)
// is called for the rows [first, end), so that a row can build on the one
// before it.
bool forEachBand(int rows, int band, int threads, const std::atomic<bool>* cancel,
                 const std::function<void(int, int)>& work);

// One per core, at least one.
int coreCount();

}  // namespace brevix::optics
