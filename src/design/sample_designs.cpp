#include "design/sample_designs.h"

#include <cmath>
#include <memory>

#include "kernel/index_azimuth.h"

namespace brevix {

namespace {
constexpr double kRadPerDeg = PI / 180;
constexpr double kGear = 96;

std::vector<double> everyNth(double first, double step, double gear) {
    std::vector<double> out;
    for (double i = first; i < gear + 0.5; i += step) out.push_back(i);
    return out;
}

// Horizontal direction of an index on the 96 gear (index 0 along +y).
struct Dir2 {
    double x = 0, y = 0;
};
Dir2 direction(double index) {
    const double phi = azimuthOf(index, kGear, 0);
    return {std::sin(phi), std::cos(phi)};
}
double dot2(Dir2 p, Dir2 q) { return p.x * q.x + p.y * q.y; }

// Point where the lines u.p = s and v.p = t meet.
Dir2 meet(Dir2 u, double s, Dir2 v, double t) {
    const double det = u.x * v.y - u.y * v.x;
    return {(s * v.y - t * u.y) / det, (u.x * t - v.x * s) / det};
}

double degrees(double radians) { return radians / kRadPerDeg; }

// A row of facets whose angle and depth vary round the outline: indexes
// with equal settings become one tier each, named prefix1, prefix2, ...
struct RowFacet {
    double index;
    double angle;
    double depth;
};

void addRow(std::vector<TierSetting>& tiers, const std::vector<RowFacet>& row,
            const std::string& prefix, int& counter, const std::string& instruction) {
    std::vector<bool> used(row.size(), false);
    for (size_t i = 0; i < row.size(); ++i) {
        if (used[i]) continue;
        TierSetting tier{prefix + std::to_string(++counter), row[i].angle, row[i].depth, {}, instruction};
        for (size_t j = i; j < row.size(); ++j) {
            if (used[j] || std::fabs(row[j].angle - row[i].angle) > 1e-9 ||
                std::fabs(row[j].depth - row[i].depth) > 1e-9)
                continue;
            used[j] = true;
            tier.indexes.push_back(row[j].index);
        }
        tiers.push_back(std::move(tier));
    }
}

// Plane of the line u.p = s at height z on a facet tilted by `angle` towards u.
double rowDepth(double angle, double s, double z) { return depthThrough(angle, s, z); }

// Ridge of two crown planes (tilts in radians, horizontal directions u, v,
// depths) at height z.
Dir2 ridgeAt(Dir2 u, double tiltU, double depthU, Dir2 v, double tiltV, double depthV, double z) {
    return meet(u, (depthU - std::cos(tiltU) * z) / std::sin(tiltU), v,
                (depthV - std::cos(tiltV) * z) / std::sin(tiltV));
}

// Step cuts: every direction group keeps its own distance from the centre,
// and each step starts where the one before it ended, so the step lines
// stay level all round the stone.
struct StepGroup {
    std::vector<double> indexes;
    double radius;
    std::string what;  // "sides", "ends", "corners"
};
struct Step {
    double angle;  // degrees, positive
    double height; // vertical extent of the step
};

void addSteps(std::vector<TierSetting>& tiers, const std::vector<StepGroup>& groups,
              const std::vector<Step>& steps, bool pavilion, double girdleHalf, double& endHeight) {
    double inset = 0, z = girdleHalf;
    int counter = 0;
    const char* prefix = pavilion ? "P" : "C";
    for (size_t k = 0; k < steps.size(); ++k) {
        const Step& step = steps[k];
        const double angle = pavilion ? -step.angle : step.angle;
        const double signedZ = pavilion ? -z : z;
        for (const StepGroup& g : groups) {
            std::string instruction;
            if (k == 0)
                instruction = "Level girdle, " + g.what;
            else if (pavilion && k + 1 == steps.size())
                instruction = "Meet at keel line, " + g.what;
            else
                instruction = "Meet step line, " + g.what;
            tiers.push_back({prefix + std::to_string(++counter), angle,
                             depthThrough(angle, g.radius - inset, signedZ), g.indexes, instruction});
        }
        inset += step.height / std::tan(step.angle * kRadPerDeg);
        z += step.height;
    }
    endHeight = z;
}

std::vector<TierSetting> stepCutTiers(const std::vector<StepGroup>& groups,
                                      const std::vector<Step>& pavilion,
                                      const std::vector<Step>& crown, double girdleHalf) {
    std::vector<TierSetting> tiers;
    int counter = 0;
    for (const StepGroup& g : groups)
        tiers.push_back({"G" + std::to_string(++counter), 90, g.radius, g.indexes,
                         "Cut girdle outline, " + g.what});
    double bottom = 0, top = 0;
    addSteps(tiers, groups, pavilion, true, girdleHalf, bottom);
    addSteps(tiers, groups, crown, false, girdleHalf, top);
    tiers.push_back({"T", 0, top, {96}, "Table"});
    return tiers;
}
}  // namespace

double depthThrough(double angle, double radius, double z) {
    const double tilt = std::fabs(angle) * kRadPerDeg;
    const double up = angle < 0 ? -z : z;
    return radius * std::sin(tilt) + up * std::cos(tilt);
}

int cutTier(Stone& stone, const TierSetting& tier) {
    const double tilt = tier.angle * kRadPerDeg;
    int made = 0;
    for (double index : tier.indexes) {
        const double azimuth = azimuthOf(index, stone.gear, stone.indexOffset);
        if (stone.cutByAngle(azimuth, tilt, tier.depth, true) < 0) continue;
        const int32_t facet = stone.nFacet - 1;
        stone.setFacetName(facet, tier.name);
        if (made == 0 && !tier.instruction.empty()) stone.setInstruction(facet, tier.instruction);
        ++made;
        if (tier.angle == 0) break;  // the table is one plane whatever the index
    }
    return made;
}

Stone makeDesign(const std::vector<TierSetting>& tiers, const std::string& heading,
                 int32_t symmetry, int32_t mirror) {
    Stone stone;
    for (const TierSetting& tier : tiers) cutTier(stone, tier);
    stone.heading[0] = heading;
    stone.symmetry = symmetry;
    stone.mirror = mirror;
    return stone;
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
    return makeDesign(roundBrilliantTiers(), "Standard Round Brilliant", 8, 1);
}

Stone makeRoundBrilliantThroughMeets() {
    std::vector<TierSetting> tiers = roundBrilliantTiers();
    // Girdle and mains meet at the girdle corners 0.03 from the middle
    // (the mains are cut through them); that corner lies at radius 1 in the
    // direction of the halves next to it.
    const double height = 0.03;
    for (TierSetting& tier : tiers) {
        if (tier.name == "P2") tier.depth = depthThrough(tier.angle, 1.0, -height);
        if (tier.name == "C3") tier.depth = depthThrough(tier.angle, 1.0, height);
    }
    return makeDesign(tiers, "Standard Round Brilliant", 8, 1);
}

std::vector<TierSetting> ovalBrilliantTiers() {
    // Outline: 16 girdle facets tangent to an ellipse of half-axes 0.70 (x)
    // and 1.0 (y); girdle 2 * g thick, a little more at the corners.
    const double halfX = 0.70, halfY = 1.0, g = 0.02, gCorner = g + 0.01;
    const double width = 2 * halfX;
    const double culet = g + 0.46 * width;  // pavilion depth 46 % of W
    const double table = g + 0.15 * width;  // crown height 15 % of W

    const std::vector<double> girdleIdx = everyNth(3, 6, 96);
    std::vector<double> girdleD;
    for (double i : girdleIdx) {
        const Dir2 u = direction(i);
        girdleD.push_back(std::sqrt(halfX * halfX * u.x * u.x + halfY * halfY * u.y * u.y));
    }
    // Girdle corners lie between girdle facets, along the mains and stars.
    std::vector<Dir2> corners;
    for (size_t k = 0; k < girdleIdx.size(); ++k) {
        const size_t next = (k + 1) % girdleIdx.size();
        corners.push_back(
            meet(direction(girdleIdx[k]), girdleD[k], direction(girdleIdx[next]), girdleD[next]));
    }
    const auto support = [&](double index) {
        const Dir2 u = direction(index);
        double best = -1e10;
        for (Dir2 p : corners) best = std::max(best, dot2(u, p));
        return best;
    };

    std::vector<TierSetting> tiers;
    int girdleCount = 0, pavilionCount = 0, crownCount = 0;
    std::vector<RowFacet> row;
    for (size_t k = 0; k < girdleIdx.size(); ++k) row.push_back({girdleIdx[k], 90, girdleD[k]});
    addRow(tiers, row, "G", girdleCount, "Cut girdle to oval outline");

    // Pavilion mains from the girdle corners to the culet point.
    row.clear();
    for (double i : everyNth(12, 12, 96)) {
        const double s = support(i);
        const double angle = -degrees(std::atan((culet - gCorner) / s));
        row.push_back({i, angle, rowDepth(angle, s, -gCorner)});
    }
    addRow(tiers, row, "P", pavilionCount, "Cut to culet point");
    // Pavilion halves a little steeper than the line to the culet.
    row.clear();
    for (size_t k = 0; k < girdleIdx.size(); ++k) {
        const double angle = -(degrees(std::atan((culet - g) / girdleD[k])) + 1.5);
        row.push_back({girdleIdx[k], angle, rowDepth(angle, girdleD[k], -g)});
    }
    addRow(tiers, row, "P", pavilionCount, "Meet girdle and mains");

    // Crown mains at one angle from the girdle corners; the stars run
    // through the points where the mains reach the table.
    const double crownMain = 36.0;
    const double mainInset = (table - gCorner) / std::tan(crownMain * kRadPerDeg);
    std::vector<double> starIdx = everyNth(6, 12, 96), mainIdx = everyNth(12, 12, 96);
    std::vector<Dir2> mainTips;
    for (double i : mainIdx) {
        const Dir2 u = direction(i);
        const double r = support(i) - mainInset;
        mainTips.push_back({u.x * r, u.y * r});
    }
    const auto starLine = [&](double i) {
        const size_t k = static_cast<size_t>(i) / 12;  // star i lies between mains k-1 and k
        const Dir2 u = direction(i);
        return std::max(dot2(u, mainTips[(k + mainIdx.size() - 1) % mainIdx.size()]),
                        dot2(u, mainTips[k]));
    };
    // A main's tilt and depth; its azimuth is its index's.
    struct MainSetting {
        double tilt, depth;
    };
    std::vector<MainSetting> mains;
    row.clear();
    for (double i : mainIdx) {
        mains.push_back({crownMain * kRadPerDeg, rowDepth(crownMain, support(i), gCorner)});
        row.push_back({i, crownMain, mains.back().depth});
    }
    addRow(tiers, row, "C", crownCount, "Level girdle");
    // Star points on the ridge of two mains, halfway out from the table
    // line to the girdle corner.
    std::vector<Dir2> tips;
    std::vector<double> tipZ;
    row.clear();
    for (size_t k = 0; k < starIdx.size(); ++k) {
        const size_t before = (k + mainIdx.size() - 1) % mainIdx.size();  // main at starIdx - 6
        const Dir2 u = direction(starIdx[k]);
        const auto ridge = [&](double z) {
            return ridgeAt(direction(mainIdx[before]), mains[before].tilt, mains[before].depth,
                           direction(mainIdx[k]), mains[k].tilt, mains[k].depth, z);
        };
        const double t = starLine(starIdx[k]);
        const double target = t + 0.5 * (support(starIdx[k]) - t);
        // The ridge is straight: find the height where it is `target` out.
        const double r0 = dot2(u, ridge(gCorner)), r1 = dot2(u, ridge(table));
        const double z = gCorner + (target - r0) / (r1 - r0) * (table - gCorner);
        tips.push_back(ridge(z));
        tipZ.push_back(z);
        const double angle = degrees(std::atan((table - z) / (dot2(u, tips.back()) - t)));
        row.push_back({starIdx[k], angle, rowDepth(angle, t, table)});
    }
    addRow(tiers, row, "C", crownCount, "Meet mains at table line");
    // Upper halves from the girdle to the star points.
    row.clear();
    for (size_t k = 0; k < girdleIdx.size(); ++k) {
        const Dir2 tip = tips[k / 2];
        const double angle = degrees(
            std::atan((tipZ[k / 2] - g) / (girdleD[k] - dot2(direction(girdleIdx[k]), tip))));
        row.push_back({girdleIdx[k], angle, rowDepth(angle, girdleD[k], g)});
    }
    addRow(tiers, row, "C", crownCount, "Meet girdle and star points");
    tiers.push_back({"T", 0, table, {96}, "Table"});
    return tiers;
}

Stone makeOvalBrilliant() { return makeDesign(ovalBrilliantTiers(), "Oval Brilliant", 2, 1); }

std::vector<TierSetting> emeraldCutTiers() {
    // Half-width 0.68, half-length 1.0, corners cut 0.3 back along each side.
    const double halfX = 0.68, halfY = 1.0, cut = 0.3;
    const double corner = (halfX + halfY - cut) / std::sqrt(2.0);
    const std::vector<StepGroup> groups = {{{24, 72}, halfX, "sides"},
                                           {{48, 96}, halfY, "ends"},
                                           {{12, 36, 60, 84}, corner, "corners"}};
    return stepCutTiers(groups, {{52, 0.18}, {45, 0.15}, {40, 0}}, {{42, 0.09}, {30, 0.08}}, 0.02);
}

Stone makeEmeraldCut() { return makeDesign(emeraldCutTiers(), "Emerald Cut", 2, 1); }

std::vector<TierSetting> squareStepCutTiers() {
    const double half = 1.0, cut = 0.35;
    const double corner = (2 * half - cut) / std::sqrt(2.0);
    const std::vector<StepGroup> groups = {{{24, 48, 72, 96}, half, "sides"},
                                           {{12, 36, 60, 84}, corner, "corners"}};
    return stepCutTiers(groups, {{50, 0.25}, {44, 0.2}, {41, 0}}, {{40, 0.12}, {28, 0.1}}, 0.02);
}

Stone makeSquareStepCut() { return makeDesign(squareStepCutTiers(), "Square Step Cut", 4, 1); }

Stone makeBrilliantOverPreform() {
    Stone s;
    cutTier(s, {"G", 90, 1.05, {3, 15, 27, 39, 51, 63, 75, 87}, "Preform girdle"});
    cutTier(s, {"P", -41, 0.8, {6, 30, 54, 78}, "Preform pavilion"});
    auto preform = std::make_unique<Stone>(s);
    for (const TierSetting& tier : roundBrilliantTiers()) cutTier(s, tier);
    s.setPreform(std::move(preform));
    return s;
}

}  // namespace brevix
