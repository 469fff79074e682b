#pragma once
// What the intent tests check on every design: which facets meet in one
// point, and whether they still do.
#include <set>
#include <vector>

#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

// Every vertex where four or more facets of the stone meet (within 1e-7),
// as the facets named by their tier and index.
std::vector<std::vector<FacetRef>> meetsOfFour(const Stone& stone, const DesignIntent& intent);
// The largest distance of the meet point of each set from its planes
// (taken from `intent`); a set whose facets are gone counts as 1.
double worstMeet(const std::vector<std::vector<FacetRef>>& meets, const DesignIntent& intent,
                 int32_t gear);
// The design with its intent, as text, for byte-for-byte comparisons.
std::string designBytes(const Stone& stone);
Stone readSample(const char* name);

}  // namespace brevix
