#pragma once
// Runs one job per item of a list on a number of threads and hands the
// results back in the list's order, each as soon as it and every one before
// it are done, so a batch writes sorted output while it works.
//
// How jobs and the renderer share the cores: the renderer can spread one
// picture's rows over every core, but a collection has many designs, and
// one design per thread keeps every core busy with no hand-over between
// threads at all, reading and preparing included. So each job renders on
// one thread while there are at least as many designs left as jobs; with
// fewer designs than cores (one big design, a shard of three) the spare
// cores go to the renderer of each job instead (innerThreads).
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace brevix::collection {

// The threads each job's renderer may use when `jobs` jobs run over `items` items on `cores` cores.
int innerThreads(int cores, int jobs, size_t items);

// Jobs to run when the user asked for `requested` (0: one per core).
int jobCount(int requested, int cores, size_t items);

// At most the jobs that fit in `available` bytes when each takes `perJob`
// (never fewer than one; `available` 0, unknown, caps nothing).
int jobsWithinMemory(int jobs, uint64_t available, uint64_t perJob);

// Calls work(i) for every i in [0, count) on `jobs` threads (the calling
// thread waits), and done(i) on the calling thread, in order of i. Stops
// starting work once *cancel is set; returns the number of items done.
size_t runInOrder(size_t count, int jobs, const std::function<void(size_t)>& work,
                  const std::function<void(size_t)>& done, const std::atomic<bool>* cancel = nullptr);

}  // namespace brevix::collection
