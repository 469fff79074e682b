#include "intent/stepped_round_intent.h"

#include <cmath>

#include "facet_placement/placement.h"
#include "intent/recut.h"
#include "intent/tier_planes.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

constexpr int32_t GEAR = 96;

TierIntent ring(double angle, double index) {
    TierIntent t;
    t.angle = angle;
    t.index = index;
    t.symmetry = 8;
    t.mirror = 1;
    t.indexes = facetIndexList(GEAR, index, 8, 1, angle * PI / 180);
    return t;
}

double stepAngle(double first, double last, int k, int count) {
    return count > 1 ? first + (last - first) * k / (count - 1) : first;
}

// The ring's two facets either side of the ridge every step is placed on.
std::vector<FacetRef> ridgeOf(int32_t tier, double index, double neighbour) {
    return {{tier, index}, {tier, neighbour}};
}

// A point `radial` inwards (measured across the axis) along the ridge of
// `tier`, from where that ridge meets the ridge of `above`; the length along
// the ridge is given as a share of W so that the ridge's far end (the
// axis, or the rough block's face) does not matter.
PointDef stepDown(int32_t tier, int32_t above, double index, double neighbour, double angle, double radial,
                  double halfSector, double width) {
    PointDef nearEnd;
    nearEnd.kind = PointKind::Meet;
    nearEnd.facets = ridgeOf(above, index, neighbour);
    for (const FacetRef& f : ridgeOf(tier, index, neighbour)) nearEnd.facets.push_back(f);
    const double slope = std::tan(std::fabs(angle) * PI / 180) * std::cos(halfSector);
    PointDef p;
    p.kind = PointKind::OnEdge;
    p.facets = ridgeOf(tier, index, neighbour);
    p.parts = {nearEnd};
    p.fraction = radial * std::sqrt(1 + slope * slope) / width;
    p.ofWidth = true;
    return p;
}

}  // namespace

DesignIntent steppedRoundIntent(const SteppedRound& shape) {
    const bool sixteen = shape.facetsPerTier != 8;
    // Facets either side of the ridge at 6 (sixteen a ring) or 18 (eight).
    const double index = sixteen ? 3 : 12, neighbour = sixteen ? 9 : 24;
    const double halfSector = PI / (sixteen ? 16 : 8);
    const double corner = 1 / std::cos(halfSector);  // the girdle's corner radius
    const double width = sixteen ? 2 * corner : 2.0;  // W as the outline gives it
    const int n = std::max(1, shape.pavilionTiers), m = std::max(1, shape.crownTiers);

    DesignIntent intent;
    TierIntent girdle = ring(90, index);
    girdle.ced = 1.0;
    intent.tiers.push_back(girdle);
    const Plane face = planeOf(90, index, 1.0, GEAR, 0);

    // The first ring of each side passes through the middle of a girdle
    // facet at half the girdle's thickness; every later one steps in from
    // the meet at the top of the ridge of the ring before.
    auto addSide = [&](int count, double first, double last, double span, double z, int32_t& lastTier) {
        for (int k = 0; k < count; ++k) {
            const double angle = stepAngle(first, last, k, count);
            TierIntent t = ring(angle, index);
            t.depth = DepthRule::Points;
            const int32_t self = int32_t(intent.tiers.size());
            if (k == 0) {
                PointDef mid;
                mid.kind = PointKind::Pierce;
                mid.at = {face.a * face.d, face.b * face.d, z};
                t.points = {mid};
            } else {
                const double above = stepAngle(first, last, k - 1, count);
                t.points = {stepDown(self - 1, k == 1 ? 0 : self - 2, index, neighbour, above, span / count,
                                     halfSector, width)};
            }
            intent.tiers.push_back(t);
            lastTier = self;
        }
    };
    const double half = shape.girdle * width / 2;
    int32_t lastPavilion = 0, lastCrown = 0;
    addSide(n, shape.pavilionFirst, shape.pavilionLast, corner, -half, lastPavilion);
    const double crownSpan = corner * (1 - shape.table);
    addSide(m, shape.crownFirst, shape.crownLast, crownSpan, half, lastCrown);

    TierIntent table = ring(0, GEAR);
    table.depth = DepthRule::Points;
    table.points = {stepDown(lastCrown, m == 1 ? 0 : lastCrown - 1, index, neighbour,
                             stepAngle(shape.crownFirst, shape.crownLast, m - 1, m), crownSpan / m, halfSector,
                             width)};
    intent.tiers.push_back(table);
    return intent;
}

DesignWithIntent cutSteppedRound(const SteppedRound& shape, bool* ok) {
    Stone rough;
    rough.gear = GEAR;
    rough.symmetry = 8;
    rough.mirror = 1;
    rough.heading[0] = strprintf("Stepped round, %d + %d rings", shape.pavilionTiers, shape.crownTiers);
    RecutResult cut = recutByIntent(rough, steppedRoundIntent(shape), std::nullopt);
    if (ok) *ok = cut.ok();
    const int32_t tiers = int32_t(cut.intent.tiers.size());
    for (int32_t t = 0; t < tiers; ++t) {
        std::string name = t == 0 ? "G" : t == tiers - 1 ? "T"
                                      : t <= shape.pavilionTiers ? strprintf("P%d", t)
                                                                 : strprintf("C%d", t - shape.pavilionTiers);
        nameTier(cut.stone, cut.intent.tiers[t], name);
    }
    return {std::move(cut.stone), std::move(cut.intent)};
}

}  // namespace brevix
