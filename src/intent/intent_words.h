#pragma once
// A tier's intent in the words of the cut list: "meets G 3·P1 96",
// "on edge G 9·G 15, 0.0300 W from its end at P1 12", "depth 0.68827502".
#include <string>

#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

// The name a tier goes by: its first named facet's name on the stone, or
// "tier N" (counted from 1).
std::string tierLabel(const Stone& stone, const DesignIntent& intent, int32_t tier);
// A facet as "NAME INDEX", the index as the cut list shows it.
std::string facetWords(const Stone& stone, const DesignIntent& intent, const FacetRef& ref);
std::string pointWords(const Stone& stone, const DesignIntent& intent, const PointDef& point);
// The whole rule of the tier, with the reason when it was not kept.
std::string intentWords(const Stone& stone, const DesignIntent& intent, int32_t tier);

}  // namespace brevix
