#include "intent/inference.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "facet_placement/placement.h"
#include "intent/kernel_bridge.h"
#include "intent/point_resolution.h"
#include "intent/recut.h"
#include "intent/tier_planes.h"
#include "kernel/kernel_error.h"

namespace brevix {

namespace {


double distanceTo(const Facet& f, Vec3 v) { return f.a * v.x + f.b * v.y + f.c * v.z - f.d; }

// Which tier and index placed each plane cut so far.
struct PlacedPlane {
    Plane plane;
    FacetRef ref;
};

const FacetRef* refOf(const std::vector<PlacedPlane>& placed, const Facet& f) {
    const Plane p = f.plane();
    for (const PlacedPlane& q : placed)
        if (q.plane == p) return &q.ref;
    return nullptr;
}

// A meet a tier's plane was taken to be cut to, as the facets meeting
// there, and how far the plane passes from it.
struct FoundMeet {
    std::vector<FacetRef> facets;
    double gap = 0;
};

// The vertex of `replay` the plane passes through (within `tolerance`)
// where most design facets meet, the nearest of those, ties to the lowest
// facet numbers. Facets count as meeting there within the same tolerance,
// so a meet that inexact earlier tiers split into close corners is one.
FoundMeet bestMeet(const Stone& replay, const Facet& plane, const std::vector<PlacedPlane>& placed,
                   double tolerance) {
    std::vector<int32_t> best;
    double bestGap = 0;
    for (int32_t v = 0; v < replay.nVertex; ++v) {
        const Vec3 p = replay.vertices[v].pos();
        const double gap = std::fabs(distanceTo(plane, p));
        if (gap > tolerance) continue;
        std::vector<int32_t> meeting;
        bool rough = false;
        for (int32_t i = 0; i < replay.nFacet; ++i) {
            if (std::fabs(distanceTo(replay.facets[i], p)) > tolerance) continue;
            if (replay.facets[i].isRough()) rough = true;
            meeting.push_back(i);
        }
        // A corner of the rough block is no meet a cutter aims for.
        if (rough || meeting.size() < 3) continue;
        const bool better = best.empty() || meeting.size() > best.size() ||
                            (meeting.size() == best.size() &&
                             (gap < bestGap - MEET_TOLERANCE || (gap <= bestGap + MEET_TOLERANCE && meeting < best)));
        if (better) {
            best = std::move(meeting);
            bestGap = gap;
        }
    }
    FoundMeet out;
    for (int32_t i : best) {
        const FacetRef* ref = refOf(placed, replay.facets[i]);
        if (!ref) return {};
        out.facets.push_back(*ref);
    }
    // A plane through the meet as exactly as the kernel places one has no gap.
    out.gap = bestGap > MEET_TOLERANCE ? bestGap : 0;
    return out;
}

bool sameIndexSet(std::vector<double> a, std::vector<double> b, int32_t gear) {
    if (a.size() != b.size()) return false;
    for (double x : a) {
        auto hit = std::find_if(b.begin(), b.end(), [&](double y) { return sameIndex(x, y, gear); });
        if (hit == b.end()) return false;
        b.erase(hit);
    }
    return true;
}

// The tier's settings as the planes give them.
TierIntent tierFromFacets(const Stone& design, const std::vector<int32_t>& run) {
    TierIntent tier;
    tier.inferred = true;
    const Facet& first = design.facets[run.front()];
    tier.angle = angleOfPlane(first.plane());
    tier.ced = first.d;
    // A level facet facing down carries its direction in its depth.
    if (std::fabs(tier.angle) < 0.001 && first.c < 0) tier.ced = -first.d;
    for (int32_t i : run) {
        const Facet& f = design.facets[i];
        tier.indexes.push_back(indexOfPlane(f.plane(), design.gear, design.indexOffset));
        tier.planes.push_back(f.plane());
    }
    tier.index = tier.indexes.front();
    return tier;
}

void inferSymmetry(TierIntent& tier, const Stone& design) {
    tier.symmetry = 0;
    tier.mirror = 0;
    if (design.gear == 0) return;
    for (const auto& [s, m] : {std::pair{design.symmetry, design.mirror}, std::pair{design.symmetry, 0},
                               std::pair{1, 0}}) {
        if (s < 1) continue;
        const std::vector<double> list =
            facetIndexList(design.gear, tier.index, s, m, tier.angle * PI / 180);
        if (sameIndexSet(list, tier.indexes, design.gear)) {
            tier.symmetry = s;
            tier.mirror = m;
            return;
        }
    }
}

// Infers the tier of `run` on `replay` (the stone as it stood before it) and cuts it.
TierIntent inferTier(const Stone& design, const std::vector<int32_t>& run, Stone& replay,
                     std::vector<PlacedPlane>& placed, int32_t ordinal, double tolerance, double width) {
    TierIntent tier = tierFromFacets(design, run);
    for (size_t k = 0; k < run.size(); ++k) {
        FoundMeet meet = bestMeet(replay, design.facets[run[k]], placed, tolerance);
        if (meet.facets.empty()) continue;
        tier.depth = DepthRule::Points;
        tier.index = tier.indexes[k];
        tier.gap = width > 0 ? meet.gap / width : 0;
        PointDef point;
        point.kind = PointKind::Meet;
        point.facets = std::move(meet.facets);
        tier.points.push_back(std::move(point));
        break;
    }
    inferSymmetry(tier, design);
    for (size_t k = 0; k < run.size(); ++k) {
        cutPlane(replay, tier.planes[k]);
        placed.push_back({tier.planes[k], {ordinal, tier.indexes[k]}});
    }
    return tier;
}

}  // namespace

DesignIntent inferIntent(const Stone& design, double meetTolerance) {
    DesignIntent intent;
    const double tolerance = meetToleranceOf(design, meetTolerance);
    const double width = outlineWidth(design);
    Stone replay(roughHalfOf(design));
    std::vector<PlacedPlane> placed;
    const std::vector<std::vector<int32_t>> runs = tierRuns(design);
    try {
        for (const std::vector<int32_t>& run : runs)
            intent.tiers.push_back(inferTier(design, run, replay, placed, int32_t(intent.tiers.size()),
                                           tolerance, width));
    } catch (const KernelError&) {
        // A replay the kernel cannot follow leaves every tier it did not
        // reach with its depth as it stands.
        for (size_t t = intent.tiers.size(); t < runs.size(); ++t) {
            TierIntent tier = tierFromFacets(design, runs[t]);
            inferSymmetry(tier, design);
            intent.tiers.push_back(std::move(tier));
        }
    }
    return intent;
}

DesignIntent reconcileIntent(const Stone& design, const DesignIntent& recorded, double meetTolerance) {
    if (intentMatches(design, recorded)) return recorded;
    DesignIntent inferred = inferIntent(design, meetTolerance);
    // A tier whose planes are still those recorded keeps its recorded rule,
    // as long as every tier it names is kept under its new number.
    std::vector<int32_t> renumber(recorded.tiers.size(), -1);
    for (size_t t = 0; t < inferred.tiers.size(); ++t)
        for (size_t r = 0; r < recorded.tiers.size(); ++r)
            if (renumber[r] < 0 && recorded.tiers[r].planes == inferred.tiers[t].planes) {
                renumber[r] = int32_t(t);
                break;
            }
    const auto remap = [&](auto& self, PointDef& point, int32_t before) -> bool {
        for (FacetRef& ref : point.facets) {
            if (ref.tier < 0 || ref.tier >= int32_t(renumber.size()) || renumber[ref.tier] < 0 ||
                renumber[ref.tier] >= before)
                return false;
            ref.tier = renumber[ref.tier];
        }
        for (PointDef& part : point.parts)
            if (!self(self, part, before)) return false;
        return true;
    };
    for (size_t r = 0; r < recorded.tiers.size(); ++r) {
        if (renumber[r] < 0) continue;
        TierIntent kept = recorded.tiers[r];
        bool ok = true;
        for (PointDef& point : kept.points) ok = ok && remap(remap, point, renumber[r]);
        if (ok) inferred.tiers[renumber[r]] = std::move(kept);
    }
    return inferred;
}

}  // namespace brevix
