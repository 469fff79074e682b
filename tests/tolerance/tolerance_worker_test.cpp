// The window's tolerance worker: a request that a newer one overtakes is
// never delivered, what is delivered is the analysis of the latest request
// bit for bit, and a cancel or the worker's end leaves nothing behind. Run
// under ThreadSanitizer with the other threaded tests.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "intent/brilliant_intent.h"
#include "tolerance/tolerance_worker.h"

namespace brevix::tolerance {
namespace {

struct Delivered {
    std::mutex mutex;
    std::vector<std::pair<uint64_t, ToleranceReport>> reports;
    int progressCalls = 0;
};

ToleranceRequest requestFor(const DesignWithIntent& d, uint64_t generation, int samples) {
    ToleranceRequest r;
    r.design = std::make_shared<const Stone>(d.stone);
    r.intent = d.intent;
    r.options.samples = samples;
    r.options.light.size = 24;
    r.options.light.refractiveIndex = 1.54;
    r.options.threads = 2;
    r.generation = generation;
    return r;
}

bool waitIdle(const ToleranceWorker& worker) {
    for (int i = 0; i < 6000 && !worker.idle(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return worker.idle();
}

TEST(ToleranceWorker, OnlyTheLatestRequestIsDeliveredAndItIsTheDirectAnalysis) {
    const DesignWithIntent brilliant = cutRoundBrilliantByIntent();
    Delivered got;
    {
        ToleranceWorker worker(
            [&](uint64_t generation, ToleranceReport report) {
                std::lock_guard lock(got.mutex);
                got.reports.emplace_back(generation, std::move(report));
            },
            [&](uint64_t, int, int) {
                std::lock_guard lock(got.mutex);
                ++got.progressCalls;
            });
        // Three requests in a row, as a slider's steps make them: the first
        // two are overtaken before or while they run.
        worker.request(requestFor(brilliant, 1, 40));
        worker.request(requestFor(brilliant, 2, 40));
        worker.request(requestFor(brilliant, 3, 6));
        ASSERT_TRUE(waitIdle(worker));
    }
    ASSERT_FALSE(got.reports.empty());
    EXPECT_EQ(got.reports.back().first, 3u);
    for (const auto& [generation, report] : got.reports) EXPECT_EQ(generation, 3u) << "an overtaken request was delivered";
    EXPECT_GT(got.progressCalls, 0);

    ToleranceRequest same = requestFor(brilliant, 3, 6);
    const ToleranceReport direct = analyseTolerance(*same.design, same.intent, same.options);
    const ToleranceReport& shown = got.reports.back().second;
    EXPECT_EQ(shown.nominalIso, direct.nominalIso);
    EXPECT_EQ(shown.iso.p5, direct.iso.p5);
    EXPECT_EQ(shown.iso.p95, direct.iso.p95);
    EXPECT_EQ(shown.cos.mean, direct.cos.mean);
    EXPECT_EQ(shown.mostSensitive, direct.mostSensitive);
}

TEST(ToleranceWorker, ACancelAndTheWorkersEndDeliverNothing) {
    const DesignWithIntent brilliant = cutRoundBrilliantByIntent();
    Delivered got;
    {
        ToleranceWorker worker([&](uint64_t generation, ToleranceReport report) {
            std::lock_guard lock(got.mutex);
            got.reports.emplace_back(generation, std::move(report));
        });
        worker.request(requestFor(brilliant, 1, 400));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        worker.cancel();
        ASSERT_TRUE(waitIdle(worker));
        // Ended while a long request runs: the destructor gives it up and joins.
        worker.request(requestFor(brilliant, 2, 400));
    }
    EXPECT_TRUE(got.reports.empty());
}

}  // namespace
}  // namespace brevix::tolerance
