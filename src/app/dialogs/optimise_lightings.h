#pragma once
// The Optimize dialog's lightings as plain data: which are ticked, and how
// a result's goal under each is listed. Qt-free.
#include <string>
#include <vector>

#include "optics/environment.h"

namespace brevix {

// The lightings whose boxes are ticked; `ticked` follows
// optics::ALL_ENVIRONMENTS (a shorter list leaves the rest unticked).
std::vector<optics::Environment> tickedLightings(const std::vector<bool>& ticked);

// "    Under ISO 61.2, Spot 55.3, Office 58.0\n": a result's goal under each
// lighting it was judged under, in the same order; empty when it was
// judged under one alone (its score says it all) or the scores are missing.
std::string lightingScoresText(const std::vector<optics::Environment>& lightings, const std::vector<double>& scores);

}  // namespace brevix
