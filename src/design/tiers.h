#pragma once
// Working on whole tiers: looking them up, naming them, giving them one
// instruction, deleting them, moving them in the cutting order and grouping
// the facets into tiers afresh.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

// ---- lookups (the tier is always that of facet i) ----------------------
int32_t firstFacetOfTier(const Stone& stone, int32_t i);
// The tier's instruction (empty when none) and the facet holding it (-1).
const std::string& tierInstruction(const Stone& stone, int32_t i, int32_t* holder = nullptr);
// Name of the first named facet of the tier (empty when none) and that
// facet's index on the gear.
std::string tierName(const Stone& stone, int32_t i, double* index = nullptr);
// Among the facets from i on while the tier stays i's, the one whose index
// on the gear is closest to `index`.
int32_t nearestInTier(const Stone& stone, int32_t i, double index);

// ---- edits -------------------------------------------------------------
// Renames every named facet of the tier; in a tier without names, names the
// facet with the lowest index as the instruction text shows it.
void changeTierName(Stone& stone, int32_t i, std::string_view text);
void setTierInstruction(Stone& stone, int32_t i, std::string_view text);
void deleteTier(Stone& stone, int32_t tier);
void deleteFacet(Stone& stone, int32_t i);
// Deletes the facets of `tier` whose area equals facet i's (within 1e-5).
void deleteEqualInTier(Stone& stone, int32_t tier, int32_t i);

// Assigns tiers afresh (same angle and depth; strict: only images of each
// other under the detected symmetry) and sorts the facets by tier.
void regroupTiers(Stone& stone, bool strict);
// Swaps the tier of facet i with the one before it (down = false) or after it.
void moveTier(Stone& stone, int32_t i, bool down);
// Moves the facets from `from` to the end so that they start at `to`; the
// facets that stood at to ... from-1 follow them. Needs 0 <= to < from < nFacet.
void moveFacets(Stone& stone, int32_t from, int32_t to);

// Orders the facets by key with the exchange sort every reordering of the
// program uses (so equal keys end up in the same order everywhere),
// starting at position `from`, and renumbers the edges.
void sortFacetsByKey(Stone& stone, std::vector<double> keys, int32_t from = 0);

}  // namespace brevix
