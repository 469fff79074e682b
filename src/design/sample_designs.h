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
// The same brilliant as samples/round_brilliant.asc keeps it: the pavilion
// and upper halves cut exactly to the corner where girdle and mains meet, as
// their instructions say, so that the design opens with those meets.
Stone makeRoundBrilliantThroughMeets();

// The round brilliant cut over a preform of a coarse girdle and pavilion:
// the first design tier wipes out a preform facet, where the text reader
// puts the boundary between preform and design.
Stone makeBrilliantOverPreform();

// Oval brilliant, L/W about 1.39, long axis along y: the brilliant's 57
// facets plus 16 girdle facets, with angles varying round the outline so
// that every row still meets at the girdle, the culet and the table.
std::vector<TierSetting> ovalBrilliantTiers();
Stone makeOvalBrilliant();

// Emerald cut, L/W about 1.47: rectangle with cut corners, three pavilion
// steps down to a keel, two crown steps and a table.
std::vector<TierSetting> emeraldCutTiers();
Stone makeEmeraldCut();

// Square step cut with cut corners: three pavilion steps to a point culet,
// two crown steps and a table.
std::vector<TierSetting> squareStepCutTiers();
Stone makeSquareStepCut();

// Cuts the tiers in order into a fresh stone and sets the heading.
Stone makeDesign(const std::vector<TierSetting>& tiers, const std::string& heading,
                 int32_t symmetry, int32_t mirror);

}  // namespace brevix
