#pragma once
// A design's cutting intent: for every tier, in cutting order, the values
// the cutter fixed (angle, index list) and what fixed its depth: a number,
// or points recorded by what they are (the facets that meet there, an edge
// and a fraction along it, ...), not by where they happened to lie. The
// planes follow from the intent, so a changed angle can be carried through
// every later tier.
//
// Plain data, no process-wide state: many threads may each hold and re-cut
// their own.
#include <cstdint>
#include <string>
#include <vector>

#include "kernel/geometry.h"
#include "kernel/plane.h"

namespace brevix {

// A facet named by what survives re-cutting: its tier's place in the
// cutting order (0 = first tier cut) and its index on the gear.
struct FacetRef {
    int32_t tier = 0;
    double index = 0;
    bool operator==(const FacetRef&) const = default;
};

enum class PointKind {
    Meet,        // where the planes of `facets` meet (three or more)
    OnEdge,      // on the edge of facets[0] and facets[1], `fraction` from its near end
    Between,     // between parts[0] and parts[1], `fraction` of the way from parts[0]
    Pierce,      // a fixed point outside the stone (or typed): `at`
    ZIntercept,  // where facets[0]'s plane meets the z axis
    Centre,      // the point on the stone's axis at height at.z
};

struct PointDef {
    PointKind kind = PointKind::Pierce;
    std::vector<FacetRef> facets;
    // OnEdge: the near end, as the facets that meet there (one Meet); Between: the two ends.
    std::vector<PointDef> parts;
    double fraction = 0;   // OnEdge, Between
    bool ofWidth = false;  // the fraction is of the stone's width W, not of the length
    Vec3 at{};             // Pierce, Centre
    bool operator==(const PointDef& o) const {
        return kind == o.kind && facets == o.facets && parts == o.parts && fraction == o.fraction &&
               ofWidth == o.ofWidth && at.x == o.at.x && at.y == o.at.y && at.z == o.at.z;
    }
};

enum class DepthRule {
    Typed,         // the centre-to-facet distance as typed
    FirstDefault,  // the first facet's default depth
    Points,        // through `points` (with the angle and index where they are fixed)
};

struct TierIntent {
    // The values the cutter fixed, as set in the form or a dialog.
    double angle = 0;         // degrees: + crown, - pavilion, 0 table, 90 girdle
    double index = 0;         // the index the depth was found at
    int32_t symmetry = 0;     // 0: the index list was given as it stands
    int32_t mirror = 0;
    std::vector<double> indexes;  // every facet of the tier, in cutting order
    double ced = 0;               // centre-to-facet distance as last placed
    DepthRule depth = DepthRule::Typed;
    std::vector<PointDef> points;  // DepthRule::Points: one to three
    // With two or three points the solver may fix the angle or the index too.
    bool angleFromPoints = false;
    bool indexFromPoints = false;
    bool inferred = false;  // read from the planes of a design that kept no intent
    // Inferred to a meet its plane missed (within the meet tolerance): by how
    // much, as a share of W; 0 when it passes through the meet. The next
    // re-cut places the tier through the meet and clears it.
    double gap = 0;
    // The planes as last cut (one a facet, in the order of `indexes`).
    std::vector<Plane> planes;
    // The facets' names and the tier's instruction as last cut ("" where
    // none is known). The stone carries them while a facet stands; these
    // keep them for a tier that later tiers cut away entirely, which the
    // intent still holds because later tiers are placed by it.
    std::vector<std::string> names;
    std::string instruction;
    // Why the last re-cut could not keep this tier's intent ("" = kept).
    std::string failure;
    bool operator==(const TierIntent&) const = default;
};

struct DesignIntent {
    std::vector<TierIntent> tiers;
    bool operator==(const DesignIntent&) const = default;
};

// What a cutter changes in one tier before the design is re-cut.
struct TierChange {
    int32_t tier = 0;
    bool setAngle = false;
    double angle = 0;
    bool setIndex = false;
    double index = 0;
    bool setCed = false;  // also makes the depth a typed one
    double ced = 0;
};

}  // namespace brevix
