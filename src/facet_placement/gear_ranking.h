#pragma once
// How well the present facets fit an index gear, and the ranking of common
// gears offered after a stone has been stretched or shrunk.
#include <array>
#include <string>

#include "kernel/stone.h"

namespace brevix {

// Gears tried by the ranking, in this order.
inline constexpr std::array<int, 7> RANKED_GEARS = {64, 72, 80, 84, 88, 96, 120};

// Misfit of the facets to gear N: the summed distance of each facet's
// azimuth from its nearest notch, in radians. Rough faces and horizontal
// facets have no azimuth and do not count; the gear's offset is not used.
double gearError(const Stone& stone, int gear);

struct GearRank {
    int gear = 0;
    double error = 0;
};
// The seven gears from best to worst fit.
std::array<GearRank, 7> rankGears(const Stone& stone);

// The question shown after a scale: the ranking with errors in units of the
// smallest non-zero error, then "Round indexes to nearest notches?".
std::string gearRankingText(const Stone& stone);

}  // namespace brevix
