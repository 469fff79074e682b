// The one choice of index and dispersion that the command line, batch
// scoring, the gallery and the Light Performance pane share: a listed
// material brings its own index; a typed or the design's own index is
// traced as given and borrows only the name and dispersion of a listed
// material of that index.
#include <gtest/gtest.h>

#include "design/sample_designs.h"
#include "optics/light_score.h"

namespace brevix::optics {
namespace {

TEST(LightChoice, AListedMaterialWinsATypedIndexIsTracedAsTyped) {
    const Material diamond = *findMaterial("diamond");
    LightChoice c = chooseLight(diamond, 1.7, 1.54);
    EXPECT_EQ(c.material.name, "Diamond");
    EXPECT_EQ(c.refractiveIndex, 2.42);

    c = chooseLight(std::nullopt, 2.418, 1.54);
    EXPECT_EQ(c.refractiveIndex, 2.418) << "not rounded to the listed stone's";
    EXPECT_EQ(c.material.name, "Diamond");
    EXPECT_EQ(c.material.dispersion, diamond.dispersion);

    c = chooseLight(std::nullopt, std::nullopt, 1.7);
    EXPECT_EQ(c.refractiveIndex, 1.7);
    EXPECT_EQ(c.material.name, "RI 1.700");
    EXPECT_GT(c.material.dispersion, 0);
}

TEST(LightChoice, TheScoreIsTheRenderOfTheChosenIndexWithItsDispersion) {
    const Stone stone = makeRoundBrilliant();
    LightSettings settings;
    settings.ri = 2.418;
    settings.options.size = 24;
    settings.dispersion = true;
    const LightScore score = scoreLight(stone, settings);
    ASSERT_TRUE(score.complete);
    EXPECT_EQ(score.refractiveIndex, 2.418);
    EXPECT_EQ(score.material.name, "Diamond");

    FaceUpOptions options = settings.options;
    options.refractiveIndex = 2.418;
    const LightRender render = renderLight(stone, options, findMaterial("Diamond")->dispersion);
    ASSERT_TRUE(render.colours);
    EXPECT_EQ(score.image.iso, render.image.iso);
    EXPECT_EQ(score.image.isoBrightness, render.colours->channels[1].isoBrightness) << "the D line's figures";
    EXPECT_EQ(picture(score, LightModel::Iso).rgb, picture(*render.colours, LightModel::Iso).rgb);
}

}  // namespace
}  // namespace brevix::optics
