// Handing a picture's rows out in bands, and a tilt sweep's tilts out to
// the cores: every row or tilt is done once, in its own place, so that the
// figures do not depend on how many threads did them.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "design/sample_designs.h"
#include "optics/parallel_rows.h"
#include "optics/tilt_sweep.h"

namespace brevix::optics {
namespace {

TEST(ParallelRows, BandsCoverEveryRowOnceInRunsOfNeighbours) {
    for (int rows : {0, 1, 15, 16, 17, 100}) {
        for (int threads : {1, 2, 5}) {
            std::vector<int> done(rows, 0);
            std::mutex guard;
            const bool complete = forEachBand(rows, 16, threads, nullptr, [&](int first, int end) {
                std::lock_guard<std::mutex> lock(guard);
                EXPECT_EQ(first % 16, 0);
                EXPECT_LE(end - first, 16);
                EXPECT_LT(first, end);
                EXPECT_TRUE(end == rows || end - first == 16) << "only the last band is short";
                for (int row = first; row < end; ++row) ++done[row];
            });
            EXPECT_TRUE(complete);
            EXPECT_EQ(done, std::vector<int>(rows, 1)) << rows << " rows on " << threads << " threads";
        }
    }
    std::atomic<bool> cancel{true};
    int calls = 0;
    EXPECT_FALSE(forEachBand(40, 8, 2, &cancel, [&](int, int) { ++calls; }));
    EXPECT_EQ(calls, 0);
}

// Each point of a sweep is the picture of its own tilt, whatever the
// number of threads, and a cancelled sweep says it is incomplete.
TEST(ParallelRows, ASweepsPointsAreEachTiltsOwnPictureOnAnyNumberOfThreads) {
    const Stone brilliant = makeRoundBrilliant();
    FaceUpOptions options;
    options.size = 48;
    options.refractiveIndex = 2.42;
    options.lighting.environment = Environment::Spot;
    const TiltRange range{-15, 15, 5};
    options.threads = 1;
    const TiltSweep one = sweepTilts(brilliant, options, range);
    options.threads = 3;
    const TiltSweep three = sweepTilts(brilliant, options, range);
    ASSERT_EQ(one.points.size(), 7u);
    ASSERT_EQ(three.points.size(), 7u);
    for (size_t i = 0; i < one.points.size(); ++i) {
        FaceUpOptions tilted = options;
        tilted.tiltDegrees = one.points[i].tiltDegrees;
        const FaceUpImage image = renderFaceUp(brilliant, tilted);
        EXPECT_EQ(one.points[i].tiltDegrees, -15 + 5.0 * double(i));
        EXPECT_EQ(one.points[i].iso, image.isoBrightness);
        EXPECT_EQ(one.points[i].scene, image.sceneBrightness);
        EXPECT_EQ(three.points[i].iso, one.points[i].iso);
        EXPECT_EQ(three.points[i].cos, one.points[i].cos);
        EXPECT_EQ(three.points[i].contrast, one.points[i].contrast);
        EXPECT_EQ(three.points[i].sceneContrast, one.points[i].sceneContrast);
    }
    EXPECT_EQ(three.meanIso, one.meanIso);
    EXPECT_EQ(three.scintillation, one.scintillation);
    EXPECT_EQ(three.sceneScintillation, one.sceneScintillation);
    EXPECT_GT(one.scintillation, 0);

    std::atomic<bool> cancel{true};
    options.cancel = &cancel;
    const TiltSweep cancelled = sweepTilts(brilliant, options, range);
    EXPECT_FALSE(cancelled.complete);
    EXPECT_TRUE(cancelled.points.empty());
}

// Each band of rows starts afresh, so a picture traced band by band in any
// order is the one traced top to bottom; and a sweep, whose cores share the
// bands of several tilts, gives each tilt the picture it has alone.
TEST(ParallelRows, BandsInAnyOrderAndSharedAmongTiltsMakeTheSamePictures) {
    const Stone brilliant = makeRoundBrilliant();
    FaceUpOptions options;
    options.size = 256;  // large enough for the exits to be guessed from the rows before
    options.refractiveIndex = 2.42;
    options.tiltDegrees = 7.0;
    options.lighting.environment = Environment::Aset;
    const PreparedStone prepared(brilliant, options.tiltDegrees);
    const FaceUpImage whole = renderFaceUp(prepared, options);

    FaceUpTrace trace(prepared, options);
    ASSERT_EQ(trace.bandRows(), ROWS_PER_BAND);
    for (int first = (trace.size() - 1) / ROWS_PER_BAND * ROWS_PER_BAND; first >= 0; first -= ROWS_PER_BAND)
        trace.traceRows(first, std::min(trace.size(), first + ROWS_PER_BAND));
    const FaceUpImage backwards = trace.finish(true);
    EXPECT_EQ(backwards.iso, whole.iso);
    EXPECT_EQ(backwards.cos, whole.cos);
    EXPECT_EQ(backwards.observed, whole.observed);
    EXPECT_EQ(backwards.window, whole.window);
    EXPECT_EQ(backwards.inside, whole.inside);
    EXPECT_EQ(backwards.red, whole.red);
    EXPECT_EQ(backwards.green, whole.green);
    EXPECT_EQ(backwards.blue, whole.blue);
    EXPECT_EQ(backwards.isoBrightness, whole.isoBrightness);
    EXPECT_EQ(backwards.sceneBrightness, whole.sceneBrightness);
    EXPECT_EQ(backwards.insideCount, whole.insideCount);
    EXPECT_GT(whole.insideCount, 0);

    options.threads = 2;
    const TiltSweep sweep = sweepTilts(brilliant, options, {-3, 7, 5});
    ASSERT_EQ(sweep.points.size(), 3u);
    EXPECT_EQ(sweep.points[2].iso, whole.isoBrightness);
    EXPECT_EQ(sweep.points[2].scene, whole.sceneBrightness);
    options.threads = 1;
    for (const TiltBrightness& point : sweep.points) {
        options.tiltDegrees = point.tiltDegrees;
        const FaceUpImage alone = renderFaceUp(brilliant, options);
        EXPECT_EQ(point.iso, alone.isoBrightness);
        EXPECT_EQ(point.cos, alone.cosBrightness);
        EXPECT_EQ(point.scene, alone.sceneBrightness);
    }
}

}  // namespace
}  // namespace brevix::optics
