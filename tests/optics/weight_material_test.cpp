#include "optics/weight_material.h"

#include <gtest/gtest.h>

#include "design/sample_designs.h"

namespace brevix::optics {
namespace {

TEST(WeightMaterial, NamedThenTypedThenTheDesignsRefractiveIndex) {
    // A name of the table wins, in any case, spelled as the table spells it.
    auto m = weightMaterial("cubic zirconia", 3.0, 1.54);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->name, "Cubic Zirconia");
    EXPECT_EQ(m->specificGravity, 5.80);
    // An unknown name or none: the typed gravity, without a name.
    m = weightMaterial("unobtainium", 3.0, 1.54);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->name, "");
    EXPECT_EQ(m->specificGravity, 3.0);
    // Nothing typed (or a gravity out of range): the material cut for.
    m = weightMaterial("", 0, 2.42);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->name, "Diamond");
    m = weightMaterial("", 90, 1.54);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->name, "Quartz");
    // An index no listed material has, and nothing else: no weight.
    EXPECT_FALSE(weightMaterial("", 0, 1.70));
}

TEST(WeightMaterial, DiagramLinesAreTheSizeAndTheWeight) {
    Stone brilliant = makeRoundBrilliant();
    EXPECT_EQ(diagramWeightLines(brilliant, {SizeBasis::Width, 6.5}, {"Diamond", 3.52}),
              "Size: 6.50 x 6.50 x 3.92 mm\nWeight: 0.981 ct (Diamond, SG 3.52)\n");
    EXPECT_EQ(diagramWeightLines(brilliant, {SizeBasis::Width, 0}, {"Diamond", 3.52}), "");
    EXPECT_EQ(diagramWeightLines(brilliant, {SizeBasis::Width, 6.5}, {"", 0}), "");
}

}  // namespace
}  // namespace brevix::optics
