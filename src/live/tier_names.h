#pragma once
// Tiers as the cut list groups and names them, for texts that speak of
// tiers rather than facets.
#include <cstdint>
#include <string>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

// For every facet of the stone, its tier's place among the design's tiers
// (runs of one tier number in array order, counted from 0); -1 for the faces
// of the rough block.
std::vector<int32_t> tierOfEachFacet(const Stone& stone);

// A tier's name: the first name one of its facets carries, or "tier N"
// (counted from 1) when none of them is named.
std::string tierName(const Stone& stone, const std::vector<int32_t>& tierOf, int32_t tier);

// "C1", "C1 and G", "C1, C3 and G": tier names in the order given, each once.
std::string namesInWords(const std::vector<std::string>& names);

}  // namespace brevix
