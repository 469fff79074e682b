#include "facet_placement/gear_ranking.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "kernel/index_azimuth.h"
#include "platform/strformat.h"

namespace brevix {

double gearError(const Stone& stone, int gear) {
    double sum = 0;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough() || 1 - std::fabs(f.c) < EPS) continue;
        const double x = std::fabs(indexAtAzimuth(std::atan2(f.a, f.b), gear, 0));
        sum += std::fabs(x - std::trunc(x + 0.5));
    }
    return TWO_PI * sum / std::abs(gear);
}

std::array<GearRank, 7> rankGears(const Stone& stone) {
    std::array<GearRank, 7> ranks;
    for (size_t g = 0; g < RANKED_GEARS.size(); ++g)
        ranks[g] = {RANKED_GEARS[g], gearError(stone, RANKED_GEARS[g])};
    for (size_t i = 0; i < ranks.size(); ++i)
        for (size_t j = i + 1; j < ranks.size(); ++j)
            if (ranks[j].error < ranks[i].error) std::swap(ranks[i], ranks[j]);
    return ranks;
}

std::string gearRankingText(const Stone& stone) {
    const std::array<GearRank, 7> ranks = rankGears(stone);
    double unit = 1.0;
    for (const GearRank& rank : ranks) {
        if (rank.error > 0.0001) {
            unit = rank.error;
            break;
        }
    }
    std::string text = "Common index Gears, from best to worst:\n\n           Gear  Error\n";
    for (const GearRank& rank : ranks)
        text += strprintf("             %3d   %s%.1f\n", rank.gear, rank.gear < 101 ? " " : "",
                          rank.error / unit);
    text += "\nRound indexes to nearest notches?";
    return text;
}

}  // namespace brevix
