// Design data carried by the stone: gear indexes, tiers, symmetry.
#include <cmath>
#include <cstdlib>

#include "kernel/index_azimuth.h"
#include "kernel/stone.h"
#include "platform/diag_codes.h"

namespace brevix {

double Stone::facetIndexOf(int32_t facet, Diagnostics& notes) const {
    if (gear == 0) notes.warning(DiagCode::KernelZeroGear, "Zero index gear");
    return facetIndexOf(facet);
}

double Stone::facetIndexOf(int32_t facet) const {
    if (gear == 0) return 0;
    const Facet& f = facets[facet];
    if (std::fabs(f.a) < EPS && std::fabs(f.b) < EPS) return gear;
    const double notches = std::fabs(static_cast<double>(gear));  // no overflow at INT_MIN
    double i = indexAtAzimuth(std::atan2(f.a, f.b), gear, indexOffset);
    // A wild offset (from a file) would keep the loops below going for ever.
    if (!(std::fabs(i) < 1000 * notches)) i = std::fmod(i, notches);
    while (i < 0) i += notches;
    while (i > notches) i -= notches;
    if (std::fabs(i) < EPS) i += gear;
    return i;
}

// A new facet continues the tier of the last facet when it has the same
// angle and depth, i.e. the same c and d; otherwise it starts the next tier.
int32_t Stone::tierForNewFacet(double c, double d) const {
    const Facet& last = facets[nFacet - 1];
    if (std::fabs(c - last.c) <= EPS && std::fabs(d - last.d) <= EPS) return last.tier;
    return last.tier + 1;
}

void Stone::detectSymmetry() {
    bool reflectY = true, reflectX = true, halfTurn = true;
    const auto same = [](double p, double q) { return std::fabs(p - q) < EPS; };
    const auto opposite = [](double p, double q) { return std::fabs(p + q) < EPS; };
    for (int32_t i = 0; i < nFacet && (reflectY || reflectX || halfTurn); ++i) {
        const Facet& fi = facets[i];
        bool foundY = false, foundX = false, foundP = false;
        for (int32_t j = 0; j < nFacet; ++j) {
            const Facet& fj = facets[j];
            if (!same(fi.c, fj.c) || !same(fi.d, fj.d)) continue;
            if (reflectY && same(fi.a, fj.a) && opposite(fi.b, fj.b)) foundY = true;
            if (reflectX && opposite(fi.a, fj.a) && same(fi.b, fj.b)) foundX = true;
            if (halfTurn && opposite(fi.a, fj.a) && opposite(fi.b, fj.b)) foundP = true;
            if ((foundY || !reflectY) && (foundX || !reflectX) && (foundP || !halfTurn)) break;
        }
        reflectY = reflectY && foundY;
        reflectX = reflectX && foundX;
        halfTurn = halfTurn && foundP;
    }
    symmetry = 1;
    mirror = 0;
    if (reflectX) {
        mirror = 1;
        if (reflectY) symmetry = 2;
    } else if (halfTurn && !reflectY) {
        symmetry = 2;
    }
}

}  // namespace brevix
