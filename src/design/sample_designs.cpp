#include "design/sample_designs.h"

#include <cmath>

namespace brevix {

namespace {
constexpr double kRadPerDeg = PI / 180;

std::vector<double> everyNth(double first, double step, double gear) {
    std::vector<double> out;
    for (double i = first; i < gear + 0.5; i += step) out.push_back(i);
    return out;
}
}  // namespace

double depthThrough(double angle, double radius, double z) {
    const double tilt = std::fabs(angle) * kRadPerDeg;
    const double up = angle < 0 ? -z : z;
    return radius * std::sin(tilt) + up * std::cos(tilt);
}

int cutTier(Stone& stone, const TierSetting& tier) {
    const double notches = std::abs(stone.gear);
    const double tilt = tier.angle * kRadPerDeg;
    int made = 0;
    for (double index : tier.indexes) {
        const double azimuth = (index - stone.indexOffset) * TWO_PI / stone.gear;
        (void)notches;
        if (stone.cutByAngle(azimuth, tilt, tier.depth, true) < 0) continue;
        const int32_t facet = stone.nFacet - 1;
        stone.setFacetName(facet, tier.name);
        if (made == 0 && !tier.instruction.empty()) stone.setInstruction(facet, tier.instruction);
        ++made;
        if (tier.angle == 0) break;  // the table is one plane whatever the index
    }
    return made;
}

std::vector<TierSetting> roundBrilliantTiers() {
    // Girdle radius 1 at the facet centres; the girdle is 2 * g thick.
    const double g = 0.02;
    const double corner = 1 / std::cos(PI / 16);  // girdle corners, between girdle facets
    const double crownMain = 34.5, pavilionMain = -40.75;
    const double tableHeight = g + 0.30;
    // Where the crown mains reach the table plane, along their own direction.
    const double kiteTip = corner - (tableHeight - g - 0.01) / std::tan(crownMain * kRadPerDeg);
    const double starRadius = kiteTip * std::cos(PI / 8) * 1.01;

    std::vector<TierSetting> tiers;
    tiers.push_back({"G", 90, 1.0, everyNth(3, 6, 96), "Cut girdle to size"});
    tiers.push_back({"P1", pavilionMain, depthThrough(pavilionMain, corner, -g - 0.01),
                     everyNth(12, 12, 96), "Cut to centre point"});
    tiers.push_back({"P2", -42.0, depthThrough(-42.0, 1.0, -g), everyNth(3, 6, 96),
                     "Meet girdle and P1"});
    tiers.push_back({"C1", crownMain, depthThrough(crownMain, corner, g + 0.01),
                     everyNth(12, 12, 96), "Level girdle"});
    tiers.push_back({"C2", 21.5, depthThrough(21.5, starRadius, tableHeight), everyNth(6, 12, 96),
                     "Meet C1 at table line"});
    tiers.push_back({"C3", 40.0, depthThrough(40.0, 1.0, g), everyNth(3, 6, 96),
                     "Meet girdle and C1"});
    tiers.push_back({"T", 0, tableHeight, {96}, "Table"});
    return tiers;
}

Stone makeRoundBrilliant() {
    Stone stone;
    for (const TierSetting& tier : roundBrilliantTiers()) cutTier(stone, tier);
    return stone;
}

}  // namespace brevix
