#pragma once
// The stone as it would be after cutting the pending facet: cut on a copy,
// so that the cutter sees the new tier, its figures and what it would do to
// the tiers already cut, while the design itself stays as it is.
#include <cstdint>
#include <string>
#include <vector>

#include "facet_placement/new_facet_info.h"
#include "kernel/stone.h"

namespace brevix {

struct CutPreview {
    bool ready = false;          // something was cut on the copy
    Stone stone;                 // the would-be stone
    std::vector<int32_t> added;  // its facets the pending tier makes
    int made = 0;                // planes that would become facets
    int missed = 0;              // planes that would miss the stone
    int cutOff = 0;              // facets of the stone it would remove entirely
    std::vector<std::string> cutAway;  // tiers it would remove entirely
    // Lines for the cutter, in the core's code page: a miss, a tier cut
    // away, why nothing could be shown.
    std::vector<std::string> notes;
};

// The corners of a facet in order round its outline (counter-clockwise
// seen from outside), for drawing it.
std::vector<Vec3> facetOutline(const Stone& stone, int32_t facet);

// Nothing is ready unless `info` is complete. Messages the kernel gives on
// the way are kept from the user: it is not the cut the cutter asked for.
CutPreview previewCut(const Stone& stone, const NewFacetInfo& info);

}  // namespace brevix
