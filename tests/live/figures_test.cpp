#include "live/design_figures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "design/design_text.h"
#include "design/sample_designs.h"
#include "live/figure_rows.h"
#include "live/girdle_measure.h"
#include "live_test_support.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {
namespace {

using namespace test;

// "NAME = value" of the statistics text, or none.
std::optional<std::string> statistic(const std::string& text, const std::string& name) {
    const std::regex pattern(std::regex_replace(name, std::regex(R"([/.()])"), R"(\$&)") + " = ([0-9.]+)");
    std::smatch m;
    if (!std::regex_search(text, m, pattern)) return std::nullopt;
    return m[1].str();
}

std::optional<std::string> shown(const std::optional<double>& value) {
    if (!value) return std::nullopt;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", *value);
    return std::string(buffer);
}

TEST(DesignFigures, EqualTheStatisticsTextOfEverySample) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    std::vector<Stone> designs;
    designs.push_back(makeRoundBrilliant());
    designs.push_back(makeOvalBrilliant());
    designs.push_back(makeEmeraldCut());
    designs.push_back(makeSquareStepCut());
    designs.push_back(cutRoundBrilliantByIntent().stone);
    for (Stone& stone : designs) {
        const DesignFigures f = figuresOf(stone);
        Stone copy(stone);
        computeBounds(copy);
        const std::string text = statisticsText(copy);
        SCOPED_TRACE(text);
        EXPECT_EQ(shown(f.lw), statistic(text, "L/W"));
        EXPECT_EQ(shown(f.tw), statistic(text, "T/W"));
        EXPECT_EQ(shown(f.uw), statistic(text, "U/W"));
        EXPECT_EQ(shown(f.pw), statistic(text, "P/W"));
        EXPECT_EQ(shown(f.cw), statistic(text, "C/W"));
        EXPECT_EQ(shown(f.hw), statistic(text, "H/W"));
        EXPECT_EQ(shown(f.volumeRatio), statistic(text, "Vol./W\xB3"));
        EXPECT_NE(text.find(std::to_string(f.facets) + " facets"), std::string::npos);
    }
}

TEST(DesignFigures, GirdleOfTheBrilliantMeasuredFromItsPlanes) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    // Cut through its meets, the crown mains leave the girdle 0.03 W thick
    // at their tips.
    DesignWithIntent b = cutRoundBrilliantByIntent();
    DesignFigures f = figuresOf(b.stone);
    ASSERT_TRUE(f.girdleAtMains);
    EXPECT_NEAR(*f.girdleAtMains, 0.03, 1e-9);
    ASSERT_TRUE(f.girdleThinnest);
    EXPECT_NEAR(*f.girdleThinnest, thinnestGirdleByPlanes(b.stone) / widthOf(b.stone), 1e-9);

    const GirdleMeasure intentMeasure = measureGirdle(b.stone);
    EXPECT_EQ(intentMeasure.measured, 16);
    ASSERT_EQ(intentMeasure.crownMains.size(), 8u);
    ASSERT_EQ(intentMeasure.pavilionMains.size(), 8u);
    for (int32_t i : intentMeasure.crownMains) EXPECT_EQ(b.stone.facets[i].name, "C1");
    for (int32_t i : intentMeasure.pavilionMains) EXPECT_EQ(b.stone.facets[i].name, "P1");

    // Cut by depths, the halves cut the mains' tips off the girdle corner
    // along index 96; the girdle there is as high as the planes leave it.
    Stone byDepth = makeRoundBrilliant();
    f = figuresOf(byDepth);
    const double W = widthOf(byDepth);
    ASSERT_TRUE(f.girdleAtMains);
    EXPECT_NEAR(*f.girdleAtMains, heightAlongVertical(byDepth, 0, 1 / std::cos(PI / 16)) / W, 1e-9);
    EXPECT_NEAR(*f.girdleThinnest, thinnestGirdleByPlanes(byDepth) / W, 1e-9);

    // Deeper upper halves thin the girdle where they come down; each depth
    // is measured as the planes give it.
    for (double lower : {0.005, 0.02, 0.04}) {
        DesignWithIntent d = brilliantWithDepth(C3, b.intent.tiers[C3].ced - lower);
        const DesignFigures g = figuresOf(d.stone);
        ASSERT_TRUE(g.girdleThinnest);
        EXPECT_NEAR(*g.girdleThinnest, thinnestGirdleByPlanes(d.stone) / widthOf(d.stone), 1e-9) << lower;
        EXPECT_LT(*g.girdleThinnest, 0.03);
    }
}

TEST(DesignFigures, NoGirdleFigureWhileASideIsUncut) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    // Girdle and pavilion only: the rough block's top is no crown.
    Stone stone;
    stone.gear = 96;
    std::vector<TierSetting> tiers = roundBrilliantTiers();
    for (size_t k = 0; k < 3; ++k) cutTier(stone, tiers[k]);
    const DesignFigures f = figuresOf(stone);
    EXPECT_FALSE(f.girdleThinnest);
    EXPECT_FALSE(f.girdleAtMains);
    EXPECT_EQ(f.facets, 40);
}

TEST(DesignFigures, SizeAndWeightFollowTheChosenSize) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    Stone stone = makeRoundBrilliant();
    const optics::WeightMaterial diamond{"Diamond", 3.52};
    const DesignFigures f = figuresOf(stone, SizeChoice{SizeBasis::Width, 6.5}, diamond);
    ASSERT_TRUE(f.size);
    EXPECT_NEAR(f.size->width, 6.5, 1e-12);
    const double k = 6.5 / widthOf(stone);
    EXPECT_NEAR(f.size->volume, volumeOf(stone).volume * k * k * k, 1e-9);
    ASSERT_TRUE(f.carats);
    EXPECT_NEAR(*f.carats, f.size->volume * 3.52 / 200, 1e-12);

    const std::vector<FigureRow> rows = figureRows(f);
    const auto row = [&](const std::string& label) {
        for (const FigureRow& r : rows)
            if (r.label == label) return r.value;
        return std::string("(none)");
    };
    EXPECT_EQ(row("Facets"), "57 + 16 girdles = 73");
    EXPECT_EQ(row("L/W"), "1.000");
    EXPECT_EQ(row("Weight"), strprintf("%.3f ct (Diamond, SG 3.52)", *f.carats));
    EXPECT_EQ(row("Size").substr(0, 14), "6.50 x 6.50 x ");

    // Without a size there are no millimetres.
    const DesignFigures plain = figuresOf(stone);
    EXPECT_FALSE(plain.size);
    EXPECT_FALSE(plain.carats);
    for (const FigureRow& r : figureRows(plain)) EXPECT_NE(r.label, "Size");
}

}  // namespace
}  // namespace brevix
