#include "intent/brilliant_intent.h"

#include <cmath>
#include <memory>

#include "facet_placement/placement.h"
#include "intent/recut.h"

namespace brevix {

namespace {

TierIntent tier(double angle, double index, int32_t symmetry, int32_t mirror) {
    TierIntent t;
    t.angle = angle;
    t.index = index;
    t.symmetry = symmetry;
    t.mirror = mirror;
    t.indexes = facetIndexList(96, index, symmetry, mirror, angle * PI / 180);
    return t;
}

PointDef meet(std::vector<FacetRef> facets) {
    PointDef p;
    p.kind = PointKind::Meet;
    p.facets = std::move(facets);
    return p;
}

enum { G, P1, P2, C1, T, C2, C3 };

}  // namespace

DesignIntent roundBrilliantIntent() {
    DesignIntent intent;
    TierIntent girdle = tier(90, 3, 8, 1);
    girdle.ced = 1.0;
    intent.tiers.push_back(girdle);

    TierIntent mains = tier(-40.75, 12, 8, 1);
    mains.depth = DepthRule::Points;
    PointDef culet;
    culet.kind = PointKind::Centre;
    culet.at = {0, 0, -0.688275018 / std::cos(40.75 * PI / 180)};
    mains.points = {culet};
    intent.tiers.push_back(mains);

    TierIntent halves = tier(-42, 3, 8, 1);
    halves.depth = DepthRule::Points;
    halves.points = {meet({{G, 93}, {G, 3}, {P1, 96}})};
    intent.tiers.push_back(halves);

    TierIntent crown = tier(34.5, 12, 8, 1);
    crown.depth = DepthRule::Points;
    PointDef level;
    level.kind = PointKind::OnEdge;
    level.facets = {{G, 9}, {G, 15}};
    level.parts = {meet({{G, 9}, {G, 15}, {P1, 12}, {P2, 9}, {P2, 15}})};
    level.fraction = 0.03;
    level.ofWidth = true;
    crown.points = {level};
    intent.tiers.push_back(crown);

    TierIntent table = tier(0, 96, 8, 1);
    table.ced = 0.32;
    intent.tiers.push_back(table);

    TierIntent stars = tier(21.5, 6, 8, 1);
    stars.depth = DepthRule::Points;
    PointDef tableLine;
    tableLine.kind = PointKind::OnEdge;
    tableLine.facets = {{T, 96}, {C1, 96}};
    tableLine.parts = {meet({{T, 96}, {C1, 96}, {C1, 12}})};
    tableLine.fraction = 0.5;
    stars.points = {tableLine};
    intent.tiers.push_back(stars);

    TierIntent uppers = tier(40, 3, 8, 1);
    uppers.depth = DepthRule::Points;
    uppers.points = {meet({{G, 93}, {G, 3}, {C1, 96}})};
    intent.tiers.push_back(uppers);
    return intent;
}

void nameTier(Stone& stone, const TierIntent& tier, const std::string& name) {
    for (const Plane& p : tier.planes)
        for (int32_t i = 0; i < stone.nFacet; ++i) {
            Facet& f = stone.facets[i];
            if (f.a == p.a && f.b == p.b && f.c == p.c && f.d == p.d) f.name = name;
        }
}

DesignWithIntent cutRoundBrilliantByIntent() {
    Stone rough;
    rough.gear = 96;
    rough.symmetry = 8;
    rough.mirror = 1;
    rough.heading[0] = "Standard Round Brilliant";
    RecutResult cut = recutByIntent(rough, roundBrilliantIntent(), std::nullopt);
    static const char* const names[] = {"G", "P1", "P2", "C1", "T", "C2", "C3"};
    for (size_t t = 0; t < cut.intent.tiers.size() && t < 7; ++t)
        nameTier(cut.stone, cut.intent.tiers[t], names[t]);
    return {std::move(cut.stone), std::move(cut.intent)};
}

}  // namespace brevix
