// Windowing, extinction, contrast and fire on pictures whose figures can be
// counted by hand, and on stones whose pavilion lets the light through.
#include <gtest/gtest.h>

#include <cmath>

#include "design/sample_designs.h"
#include "kernel/stone.h"
#include "light_designs.h"
#include "optics/face_up.h"
#include "optics/light_metrics.h"
#include "optics/tilt_sweep.h"

namespace brevix::optics {
namespace {

using testing::simpleBrilliant;

// A picture of n x n pixels, all on the stone, with ISO score iso(row, col).
template <typename F>
FaceUpImage picture(int n, F iso) {
    FaceUpImage image;
    image.size = n;
    image.iso.resize(size_t(n) * n);
    image.cos.resize(size_t(n) * n);
    image.window.assign(size_t(n) * n, 0.0f);
    image.inside.assign(size_t(n) * n, 1);
    image.insideCount = n * n;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) image.iso[size_t(r) * n + c] = float(iso(r, c));
    return image;
}

TEST(LightMetrics, CountedByHandOnMadePictures) {
    const int n = 32;  // cells of 2 x 2 pixels on the 16 x 16 grid
    const LightMetrics even = lightMetrics(picture(n, [](int, int) { return 0.8; }));
    EXPECT_EQ(even.windowing, 0);
    EXPECT_EQ(even.extinction, 0);
    EXPECT_EQ(even.contrast, 0);

    // Dark left half: the two columns of cells along the border differ.
    const LightMetrics halves = lightMetrics(picture(n, [](int, int c) { return c < n / 2 ? 0.1 : 1.0; }));
    EXPECT_DOUBLE_EQ(halves.extinction, 50);
    EXPECT_DOUBLE_EQ(halves.contrast, 100.0 * 2 / 16);

    // A checkerboard of cells differs everywhere; one of pixels is too fine
    // to see and averages to an even grey.
    const LightMetrics cells = lightMetrics(picture(n, [](int r, int c) { return (r / 2 + c / 2) % 2 ? 0.9 : 0.2; }));
    EXPECT_DOUBLE_EQ(cells.contrast, 100);
    const LightMetrics pixels = lightMetrics(picture(n, [](int r, int c) { return (r + c) % 2 ? 0.9 : 0.2; }));
    EXPECT_DOUBLE_EQ(pixels.contrast, 0);
    EXPECT_DOUBLE_EQ(pixels.extinction, 50);
    // A faint step counts little and one of CONTRAST_STEP half, so that a
    // cell mean moved a little by the picture's size moves the figure a
    // little.
    const LightMetrics faint = lightMetrics(picture(n, [](int, int c) { return c < n / 2 ? 0.5 : 0.54; }));
    EXPECT_NEAR(faint.contrast, 100.0 * 2 / 16 * (0.04 / 0.5), 1e-3);
    const LightMetrics step = lightMetrics(picture(n, [](int, int c) { return c < n / 2 ? 0.5 : 0.75; }));
    EXPECT_NEAR(step.contrast, 100.0 * 2 / 16 / 2, 1e-4);

    // Windows: a pixel counts when more than half its light leaves below.
    FaceUpImage windowed = picture(n, [](int, int) { return 0.3; });
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) windowed.window[size_t(r) * n + c] = r < n / 4 ? 0.6f : c < n / 2 ? 0.5f : 0.0f;
    EXPECT_DOUBLE_EQ(lightMetrics(windowed).windowing, 25);

    // Only the stone counts: a quarter of the picture outside it changes
    // the shares of the rest, and cells mostly off the stone take no part.
    FaceUpImage part = picture(n, [](int r, int) { return r < n / 2 ? 1.0 : 0.0; });
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n / 4; ++c) {
            part.inside[size_t(r) * n + c] = 0;
            part.iso[size_t(r) * n + c] = 0;
            --part.insideCount;
        }
    const LightMetrics p = lightMetrics(part);
    EXPECT_DOUBLE_EQ(p.extinction, 50);
    EXPECT_DOUBLE_EQ(p.contrast, 100.0 * 2 / 16);  // 24 of the 192 cells on the stone

    EXPECT_EQ(lightMetrics(FaceUpImage{}).windowing, 0);
}

TEST(LightMetrics, FireIsTheSpreadOfTheColours) {
    DispersionImage split;
    split.channels[0] = picture(8, [](int, int) { return 0.9; });
    split.channels[1] = picture(8, [](int, int) { return 0.5; });
    split.channels[2] = picture(8, [](int r, int) { return r < 4 ? 0.7 : 0.1; });
    // Spread 0.4 on the top half, 0.8 on the bottom.
    EXPECT_NEAR(fireFigure(split), 60, 1e-5);
    split.channels[0] = split.channels[2] = split.channels[1];
    EXPECT_EQ(fireFigure(split), 0);

    // A stone without dispersion shows no fire; diamond's does.
    FaceUpOptions o;
    o.size = 48;
    o.refractiveIndex = 2.42;
    const Stone brilliant = makeRoundBrilliant();
    EXPECT_EQ(fireFigure(renderDispersion(brilliant, o, 0.0)), 0);
    EXPECT_GT(fireFigure(renderDispersion(brilliant, o, 0.044)), 0.5);
}

TEST(LightMetrics, ShallowPavilionsWindowAndDarken) {
    FaceUpOptions o;
    o.size = 64;
    o.refractiveIndex = 1.54;  // critical angle 40.5 degrees
    // Straight down through the table, a pavilion below the critical angle
    // lets nearly all the light out below; one well above it returns it.
    const FaceUpImage leaking = renderFaceUp(simpleBrilliant(30), o);
    const FaceUpImage closed = renderFaceUp(simpleBrilliant(44), o);
    const LightMetrics l = lightMetrics(leaking), c = lightMetrics(closed);
    EXPECT_GT(l.windowing, 60) << l.windowing;
    EXPECT_LT(c.windowing, 15) << c.windowing;
    // Windows are dark in any lighting from above.
    EXPECT_GE(l.extinction, l.windowing * 0.9);
    EXPECT_GT(l.extinction, c.extinction + 30);
    // Per pixel the window share is a share of the light: never above what
    // left the stone.
    for (size_t i = 0; i < leaking.window.size(); ++i) {
        EXPECT_GE(leaking.window[i], 0.0f);
        EXPECT_LE(leaking.window[i], 1.0f + 1e-6f);
        if (!leaking.inside[i]) {
            EXPECT_EQ(leaking.window[i], 0.0f);
        }
    }

    // The sweep carries the figures of each tilt; their mean is the average.
    o.size = 32;
    const TiltSweep sweep = sweepTilts(simpleBrilliant(30), o, {-10, 10, 10});
    ASSERT_EQ(sweep.points.size(), 3u);
    const TiltAverages a = tiltAverages(sweep.points);
    EXPECT_NEAR(a.iso, sweep.meanIso, 1e-12);
    EXPECT_NEAR(a.windowing, (sweep.points[0].windowing + sweep.points[1].windowing + sweep.points[2].windowing) / 3,
                1e-12);
    EXPECT_GT(a.windowing, 40);
}

}  // namespace
}  // namespace brevix::optics
