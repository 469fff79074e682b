#pragma once
// Turning one facet setting (angle, index, depth, symmetry, mirror) into the
// planes of its whole tier and cutting them.
#include <vector>

#include "facet_placement/new_facet_info.h"
#include "kernel/index_azimuth.h"
#include "kernel/stone.h"

namespace brevix {

// Whether |x| is (within 1 %) a whole multiple of |h|: an index on a mirror
// line, whose mirror image would only repeat it.
bool nearMultiple(double x, double h);

// The indexes of the tier, ascending: S copies a sector apart, with mirror
// images unless the index lies on a mirror line; a table or culet once.
// A symmetry that does not divide the gear puts each copy on the nearest
// notch. Values above |gear| are left as they are.
std::vector<double> facetIndexList(int gear, double index, int symmetry, int mirror,
                                   double angleRad);

struct CutCounts {
    int missed = 0;   // planes that did not reach the stone
    int cutOff = 0;   // existing facets the new planes removed entirely
    int made = 0;     // planes that became facets
};

// A point solved into a depth below zero: the plane passes on the far side
// of the centre and would take most of the stone with it, which a typed
// point on the wrong side (a sign slipped) does.
bool depthBeyondCentre(const NewFacetInfo& info);

// Cuts every index of the info's tier into the stone. The info must be
// complete and the gear non-zero.
CutCounts cutFacetSet(Stone& stone, const NewFacetInfo& info);

}  // namespace brevix
