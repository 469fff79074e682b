// The kernel, the design model and the optics keep no state shared between
// stones: four threads, each with its own stone, re-cut a brilliant from its
// angles and render its light at once, and each gets exactly what a lone
// run gets. Under ThreadSanitizer this is also the check for data races.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <thread>
#include <vector>

#include "design/measures.h"
#include "design/sample_designs.h"
#include "design/transforms.h"
#include "intent/brilliant_intent.h"
#include "intent/recut.h"
#include "kernel/stone.h"
#include "optics/face_up.h"

namespace brevix {
namespace {

struct Outcome {
    int32_t facets = 0, edges = 0, vertices = 0;
    double volume = 0;
    double iso = 0, cos = 0;
    int32_t recutFacets = 0;
    double recutVolume = 0;
    std::vector<std::string> notes;
    bool operator==(const Outcome&) const = default;
};

// One thread's work: the brilliant cut from its angles, then turned and
// rebuilt (so that the exact rebuild runs too), then its face-up light; and
// the brilliant cut through its meets, re-cut by its intent with its
// pavilion mains turned.
Outcome recutAndRender(int variant) {
    Stone stone = makeRoundBrilliant();
    rotateStone(stone, 3, 0.05 * variant);
    stone.regenerate();
    Outcome out;
    out.facets = stone.nFacet;
    out.edges = stone.nEdge;
    out.vertices = stone.nVertex;
    out.volume = computeVolume(stone);
    optics::FaceUpOptions options;
    options.size = 48;
    options.threads = 1;  // the four threads are the test's own
    const optics::FaceUpImage image = optics::renderFaceUp(stone, options);
    out.iso = image.isoBrightness;
    out.cos = image.cosBrightness;
    const DesignWithIntent meets = cutRoundBrilliantByIntent();
    TierChange change;
    change.tier = 1;  // the pavilion mains
    change.setAngle = true;
    change.angle = -(41.0 + 0.25 * variant);
    RecutResult recut = recutByIntent(meets.stone, meets.intent, change);
    out.recutFacets = recut.ok() ? recut.stone.nFacet : -1;
    out.recutVolume = computeVolume(recut.stone);
    // A zero gear makes the index query note a warning in this thread's notes only.
    stone.gear = 0;
    Diagnostics notes = stone.takeDiagnostics();
    (void)stone.facetIndexOf(0, notes);
    out.notes = notes.texts();
    return out;
}

TEST(ConcurrentDesign, FourThreadsRecutAndRenderTheirOwnStones) {
    constexpr int kThreads = 4;
    std::array<Outcome, kThreads> alone;
    for (int i = 0; i < kThreads; ++i) alone[i] = recutAndRender(i);

    std::array<Outcome, kThreads> together;
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) threads.emplace_back([&together, i] { together[i] = recutAndRender(i); });
    for (std::thread& t : threads) t.join();

    for (int i = 0; i < kThreads; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(together[i], alone[i]);
        EXPECT_GT(together[i].facets, 50);
        EXPECT_GT(together[i].iso, 0);
        EXPECT_GT(together[i].recutFacets, 50);
        // Each stone keeps its own notes: none went to another thread's stone.
        EXPECT_EQ(together[i].notes, std::vector<std::string>{"Zero index gear"});
    }
}

// Many cuts in a row on each thread, through the kernel's float cut and its
// exact fallback, with notes that must stay with their own stone.
TEST(ConcurrentDesign, CutsOnSeparateStonesDoNotMixTheirNotes) {
    constexpr int kThreads = 4;
    std::array<std::vector<std::string>, kThreads> notes;
    std::array<int32_t, kThreads> facets{};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&notes, &facets, i] {
            Stone stone;
            for (int k = 0; k < 40; ++k) {
                const double az = TWO_PI * (k + 0.25 * i) / 40;
                stone.newFacet(std::sin(az) * 0.6, std::cos(az) * 0.6, (k % 2 ? 0.8 : -0.8), 0.9);
            }
            // Only this thread's stone gets the note of a vertex put on top of another.
            const Vertex v = stone.vertices[0];
            stone.newVertex(v.x, v.y, v.z);
            notes[i] = stone.takeDiagnostics().texts();
            facets[i] = stone.nFacet;
        });
    for (std::thread& t : threads) t.join();
    for (int i = 0; i < kThreads; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(notes[i].size(), 1u);
        EXPECT_EQ(notes[i][0].rfind("Internal warning: New vertex", 0), 0u);
        EXPECT_EQ(facets[i], facets[0]);
    }
}

}  // namespace
}  // namespace brevix
