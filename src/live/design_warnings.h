#pragma once
// What a cutter wants to hear about while designing, before the stone is
// on the lap: the girdle cut through, a tier that a later one cut away
// entirely, facets that nearly (but not quite) meet in one point, and a
// pavilion facet so flat that light from the table leaks out through it.
// Each warning names the tiers involved as the cut list names them.
#include <cstdint>
#include <string>
#include <vector>

#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

enum class WarningKind { GirdleCutThrough, TierCutAway, NearMiss, Window };

struct DesignWarning {
    WarningKind kind = WarningKind::NearMiss;
    std::vector<std::string> tiers;  // the tiers involved, each once
    std::vector<int32_t> facets;     // the stone's facets involved, to mark their rows
    int places = 0;                  // where the same tiers are involved
    double gap = 0;                  // NearMiss: the widest gap, design units
    double gapShare = 0;             // NearMiss: the same as a share of W
    double angle = 0;                // Window: the flattest facet's angle, degrees
    double critical = 0;             // Window: the critical angle, degrees
    std::string text;                // one line, in the core's code page
};

// Facets whose corners lie closer together than this share of W, but not
// within the meet tolerance, nearly meet in one point: on the lap that is
// a visible mismatch, and in the design almost always a missed meet.
constexpr double NEAR_MISS_SHARE = 0.005;
// Corners this close are one point (the tolerance meets are held to).
constexpr double MEET_GAP = 1e-7;

// The critical angle of total internal reflection for the refractive index
// (degrees); 90 for an index of 1 or less.
double criticalAngle(double refractiveIndex);

// The warnings of the stone. With `intent` (when it still describes the
// stone), tiers it lists that have no facet left on the stone are reported
// with the later tier that cut them away, and girdle facets it lists that
// are gone count as a girdle cut through; `before`, a stone this one was
// cut from, tells of girdle facets gone the same way. A tier with no facet
// left is named as on `names` (an earlier state of the design) where its
// planes are found there. Does not change the stone.
std::vector<DesignWarning> designWarnings(const Stone& stone, const DesignIntent* intent = nullptr,
                                          const Stone* before = nullptr, const Stone* names = nullptr);

}  // namespace brevix
