// Contrast and scintillation as a person sees them: always with the
// viewer's head shadow, and the same figure whatever the picture's size.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "design/sample_designs.h"
#include "kernel/stone.h"
#include "optics/face_up.h"
#include "optics/light_metrics.h"
#include "optics/tilt_sweep.h"

namespace brevix::optics {
namespace {

struct Sample {
    const char* name;
    Stone stone;
};

std::vector<Sample> samples() {
    return {{"round brilliant", makeRoundBrilliant()},
            {"emerald cut", makeEmeraldCut()},
            {"oval brilliant", makeOvalBrilliant()}};
}

FaceUpOptions at(int size) {
    FaceUpOptions o;
    o.size = size;
    o.refractiveIndex = 1.54;
    return o;
}

TEST(Observer, ContrastIsJudgedWithTheHeadShadowEvenWhenTheLightingHasNone) {
    const Stone brilliant = makeRoundBrilliant();
    FaceUpOptions plain = at(96), shaded = at(96);
    shaded.lighting.headShadowDegrees = OBSERVER_HEAD_DEGREES;
    const FaceUpImage a = renderFaceUp(brilliant, plain), b = renderFaceUp(brilliant, shaded);
    // The plain picture keeps its brightness, but its contrast is the
    // observer's: the same as with the shadow in the lighting.
    EXPECT_GT(a.isoBrightness, b.isoBrightness);
    EXPECT_NEAR(lightMetrics(a).contrast, lightMetrics(b).contrast, 1e-9);
    ASSERT_EQ(a.observed.size(), a.iso.size());
    bool shaded_somewhere = false;
    for (size_t i = 0; i < a.iso.size(); ++i) {
        EXPECT_LE(a.observed[i], a.iso[i] + 1e-6f);
        shaded_somewhere = shaded_somewhere || a.observed[i] < a.iso[i] - 0.1f;
    }
    EXPECT_TRUE(shaded_somewhere);
    // A larger shadow in the lighting is the one judged with.
    shaded.lighting.headShadowDegrees = 20;
    EXPECT_NE(lightMetrics(renderFaceUp(brilliant, shaded)).contrast, lightMetrics(a).contrast);
}

TEST(Observer, ContrastAndScintillationHardlyDependOnThePictureSize) {
    const TiltRange rocking{-1, 1, 1};
    for (const Sample& s : samples()) {
        double contrast[3], scintillation[3];
        const int sizes[3] = {128, 256, 512};
        for (int k = 0; k < 3; ++k) {
            contrast[k] = lightMetrics(renderFaceUp(s.stone, at(sizes[k]))).contrast;
            scintillation[k] = sweepTilts(s.stone, at(sizes[k]), rocking).scintillation;
        }
        for (int k = 0; k < 2; ++k) {
            EXPECT_NEAR(contrast[k], contrast[2], 2.0) << s.name << " at " << sizes[k];
            EXPECT_NEAR(scintillation[k], scintillation[2], 2.0) << s.name << " at " << sizes[k];
        }
    }
}

TEST(Observer, TheRoundBrilliantScintillatesMoreThanTheEmeraldCut) {
    const double round = sweepTilts(makeRoundBrilliant(), at(128), SCINTILLATION_TILTS).scintillation;
    const double emerald = sweepTilts(makeEmeraldCut(), at(128), SCINTILLATION_TILTS).scintillation;
    EXPECT_GT(round, emerald);
    EXPECT_GT(emerald, 0);
    // A stone that does not move does not scintillate.
    EXPECT_EQ(sweepTilts(makeRoundBrilliant(), at(64), {0, 0, 1}).scintillation, 0);
}

}  // namespace
}  // namespace brevix::optics
