#pragma once
// Designs the project builds itself from published proportions: the samples
// shipped in samples/, the README's example and the benchmarks' inputs.
#include <string>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

// One row of a faceting machine's settings: every index of the list is cut
// at the same angle (degrees; negative on the pavilion, 90 on the girdle,
// 0 for the table) and the same distance from the centre.
struct TierSetting {
    std::string name;
    double angle = 0;
    double depth = 0;
    std::vector<double> indexes;
    std::string instruction;
};

// Depth of a facet at `angle` and `index` whose plane passes through the
// point at horizontal radius `radius` in the facet's own direction and height z.
double depthThrough(double angle, double radius, double z);

// Cuts every index of the tier into the stone (azimuth from the gear and the
// stone's index offset) and names the facets; the instruction goes on the
// first facet of the tier. Returns how many of them made a facet.
int cutTier(Stone& stone, const TierSetting& tier);

// Standard round brilliant on a 96 gear: table, 8 crown mains, 8 stars,
// 16 upper halves, 16 girdle facets, 8 pavilion mains, 16 pavilion halves.
std::vector<TierSetting> roundBrilliantTiers();
Stone makeRoundBrilliant();

}  // namespace brevix
