#pragma once
// The intent that goes with a stone: the one recorded for it when that still
// describes its planes, what of it still stands otherwise, and an inferred
// one for a stone that has none.
#include <string>

#include "intent/intent.h"
#include "intent/recut.h"
#include "kernel/stone.h"

namespace brevix {

// `recorded` may be null (nothing recorded).
// Meets are inferred within `meetTolerance`, a share of W.
DesignIntent intentOf(const Stone& stone, const DesignIntent* recorded,
                      double meetTolerance = DEFAULT_MEET_TOLERANCE_W);

// The tier of intent a facet of the stone belongs to, or -1.
int32_t intentTierOfFacet(const Stone& stone, const DesignIntent& intent, int32_t facet);

// A tier named as the cut list names it ("P1"), or by its number from 1.
int32_t findTier(const Stone& stone, const DesignIntent& intent, const std::string& name);

// Changes the tier's angle (degrees as the cut list shows them: the side of
// the girdle stays the tier's) and re-cuts.
RecutResult recutTierAngle(const Stone& stone, const DesignIntent& intent, int32_t tier,
                           double shownAngle, double meetTolerance = DEFAULT_MEET_TOLERANCE_W);

}  // namespace brevix
