#pragma once
// How thick the girdle is: its vertical extent along the girdle facets,
// where it is thinnest and where the mains reach it. A girdle facet is a
// vertical plane; its outline is convex, so its height along the girdle is
// a concave function of the position and the thinnest point of each facet
// is at one of its two ends.
#include <cstdint>
#include <optional>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

// A girdle facet's height is zero (within this) at a corner where the
// crown and the pavilion meet on it: the girdle is cut through.
constexpr double GIRDLE_THROUGH = 1e-7;

struct GirdleEnd {
    int32_t facet = -1;  // the girdle facet
    Vec3 at{};           // the lowest point of the end
    double height = 0;   // design units
};

struct GirdleMeasure {
    // Girdle facets whose outline lies between crown and pavilion facets
    // (not the rough block's): the girdle is measured only where both sides
    // are cut.
    int32_t measured = 0;
    std::optional<GirdleEnd> thinnest;
    // The least height at the tips of the crown mains and the pavilion mains
    // (of each side, the first tier cut of those that reach the girdle).
    std::optional<double> atMainTips;
    std::vector<int32_t> crownMains, pavilionMains;  // facets of those tiers
    // Ends of girdle facets whose height is GIRDLE_THROUGH or less.
    std::vector<GirdleEnd> cutThrough;
};

bool isGirdleFacet(const Facet& f);

// The vertical extent (lowest, highest z) of a girdle facet's outline at the
// horizontal position of `p`; none when p is beyond the facet's ends.
std::optional<std::pair<double, double>> girdleExtentAt(const Stone& stone, int32_t facet, Vec3 p);

GirdleMeasure measureGirdle(const Stone& stone);

}  // namespace brevix
