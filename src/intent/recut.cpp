#include "intent/recut.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "facet_placement/placement.h"
#include "intent/intent_file.h"
#include "intent/kernel_bridge.h"
#include "intent/plane_lookup.h"
#include "intent/point_resolution.h"
#include "intent/tier_planes.h"
#include "kernel/kernel_error.h"
#include "platform/diag_codes.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

struct Strings {
    std::string name, instruction;
};


// New values of a tier that its points give; false with the reason.
bool solveTier(TierIntent& tier, PointContext& context, double indexOffset, std::string& why) {
    const int32_t gear = context.gear;
    if (tier.depth != DepthRule::Points) return true;
    std::vector<Vec3> points;
    for (const PointDef& def : tier.points) {
        const std::optional<Vec3> p = resolvePoint(def, context, why);
        if (!p) return false;
        points.push_back(*p);
    }
    double angle = tier.angle, index = tier.index;
    if (points.size() == 3 || (points.size() == 2 && tier.angleFromPoints && tier.indexFromPoints)) {
        if (points.size() != 3) {
            why = "two points cannot fix angle and index together";
            return false;
        }
        const Vec3 &p1 = points[0], &p2 = points[1], &p3 = points[2];
        const double det = dot(p1, cross(p2, p3));
        if (std::fabs(det) < 1e-8) {
            why = "its points no longer span a plane off the centre";
            return false;
        }
        const Vec3 k = (cross(p2, p3) + cross(p3, p1) + cross(p1, p2)) * (1 / det);
        const double m = length(k);
        if (m < 1e-8) {
            why = "its plane would pass through the centre";
            return false;
        }
        const Plane plane{k.x / m, k.y / m, k.z / m, 1 / m};
        angle = angleOfPlane(plane);
        index = indexOfPlane(plane, gear, indexOffset);
    } else if (points.size() == 2 && tier.angleFromPoints) {
        // At a fixed index the normal is turned in the index's vertical plane
        // until it is square to the line of the two points.
        const Vec3 d = points[0] - points[1];
        const double az = azimuthOf(index, gear, indexOffset);
        const double h = std::sin(az) * d.x + std::cos(az) * d.y;
        if (std::fabs(h) < 1e-12 && std::fabs(d.z) < 1e-12) {
            why = "its two points coincide";
            return false;
        }
        angle = std::atan2(-d.z, h) * DEG_PER_RAD;
        if (angle > 90) angle -= 180;
        if (angle <= -90) angle += 180;
        // The side of the stone the tier was cut on stays its side.
        if ((angle < 0) != (tier.angle < 0) && std::fabs(angle) > EPS) {
            why = "its points now ask for the other side of the girdle";
            return false;
        }
    } else if (points.size() == 2 && tier.indexFromPoints) {
        // At a fixed angle the normal turns round the axis until it is square
        // to the line of the two points: sin(az + phi) = -cot(angle)·dz / r.
        const Vec3 d = points[0] - points[1];
        const double tilt = angle * PI / 180;
        const double r = std::hypot(d.x, d.y);
        const double s = std::fabs(std::sin(tilt));
        if (r < 1e-12 || s < 1e-12) {
            why = "its points cannot be met at this angle";
            return false;
        }
        const double q = -std::cos(tilt) * d.z / (std::sin(tilt) * r);
        if (std::fabs(q) > 1) {
            why = "its points cannot be met at this angle";
            return false;
        }
        const double phi = std::atan2(d.y, d.x);
        const double was = azimuthOf(index, gear, indexOffset);
        double best = 0, bestGap = 1e300;
        for (double az : {std::asin(q) - phi, PI - std::asin(q) - phi}) {
            double gap = std::fmod(std::fabs(az - was), TWO_PI);
            gap = std::min(gap, TWO_PI - gap);
            if (gap < bestGap) {
                bestGap = gap;
                best = az;
            }
        }
        const Plane plane = planeOf(angle, indexAtAzimuth(best, gear, indexOffset), 1.0, gear, indexOffset);
        index = indexOfPlane(plane, gear, indexOffset);
    }
    const double ced = depthThrough(angle, index, points[0], gear, indexOffset);
    if (!(ced > EPS) || !std::isfinite(ced)) {
        why = "its plane would pass through the centre";
        return false;
    }
    // A turned index turns the whole tier with it.
    if (!sameIndex(index, tier.index, gear) || index != tier.index) {
        const double shift = index - tier.index;
        if (tier.symmetry > 0) {
            tier.indexes = facetIndexList(gear, index, tier.symmetry, tier.mirror, angle * PI / 180);
        } else {
            for (double& v : tier.indexes) v += shift;
        }
    }
    tier.angle = angle;
    tier.index = index;
    tier.ced = ced;
    return true;
}

void applyChange(TierIntent& tier, const TierChange& change, int32_t gear) {
    if (change.setAngle) tier.angle = change.angle, tier.angleFromPoints = false;
    if (change.setIndex) {
        const double shift = change.index - tier.index;
        if (tier.symmetry > 0)
            tier.indexes =
                facetIndexList(gear, change.index, tier.symmetry, tier.mirror, tier.angle * PI / 180);
        else
            for (double& v : tier.indexes) v += shift;
        tier.index = change.index;
        tier.indexFromPoints = false;
    }
    if (change.setCed) {
        tier.ced = change.ced;
        tier.depth = DepthRule::Typed;
        tier.points.clear();
    }
}

// The stone's design facets by their planes, in array order.
PlaneLookup designFacetsOf(const Stone& stone) {
    std::vector<PlaneLookup::Entry> facets;
    facets.reserve(size_t(stone.nFacet));
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (!stone.facets[i].isRough()) facets.push_back({stone.facets[i].plane(), i});
    return PlaneLookup(std::move(facets));
}

bool anyOutside(const Stone& stone, const Plane& p) {
    for (int32_t i = 0; i < stone.nVertex; ++i)
        if (p.offsetOf(stone.vertices[i].pos()) > EPS) return true;
    return false;
}

}  // namespace

Diagnostics RecutResult::problemNotes() const {
    Diagnostics notes;
    for (size_t k = 0; k < problems.size(); ++k)
        notes.warning(k < problemCodes.size() ? problemCodes[k] : DiagCode::IntentNotKept, problems[k]);
    return notes;
}

double roughHalfOf(const Stone& stone) {
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (stone.facets[i].isRough()) return stone.facets[i].d;
    // Once every face of the block is cut away its size no longer shows;
    // a design reaching beyond the usual block came from the larger one.
    for (int32_t v = 0; v < stone.nVertex; ++v) {
        const Vertex& p = stone.vertices[v];
        if (std::fabs(p.x) > ROUGH_HALF + EPS || std::fabs(p.y) > ROUGH_HALF + EPS ||
            std::fabs(p.z) > ROUGH_HALF + EPS)
            return DATABASE_ROUGH_HALF;
    }
    return ROUGH_HALF;
}

std::vector<std::vector<int32_t>> tierRuns(const Stone& stone) {
    std::vector<std::vector<int32_t>> runs;
    int32_t tier = 0;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough()) continue;
        if (runs.empty() || f.tier != tier) runs.emplace_back();
        tier = f.tier;
        runs.back().push_back(i);
    }
    return runs;
}

bool intentMatches(const Stone& stone, const DesignIntent& intent) {
    size_t tier = 0, k = 0;
    std::vector<bool> seen(intent.tiers.size(), false);
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough()) continue;
        const Plane p = f.plane();
        bool found = false;
        while (tier < intent.tiers.size() && !found) {
            const std::vector<Plane>& planes = intent.tiers[tier].planes;
            if (k >= planes.size()) {
                ++tier;
                k = 0;
                continue;
            }
            found = planes[k++] == p;
        }
        if (!found) return false;
        seen[tier] = true;
    }
    // A tier of which no facet is left was either taken out (its planes
    // would still cut the stone: the intent no longer fits) or cut away
    // entirely by later tiers (the stone lies inside every one of its
    // planes), which the intent still describes.
    for (size_t t = 0; t < intent.tiers.size(); ++t) {
        if (seen[t]) continue;
        const std::vector<Plane>& planes = intent.tiers[t].planes;
        if (planes.empty()) return false;
        for (const Plane& p : planes)
            if (anyOutside(stone, p)) return false;
    }
    return true;
}

void keepNamesOfCutAwayFacets(const Stone& stone, DesignIntent& intent) {
    const PlaneLookup facets = designFacetsOf(stone);
    for (TierIntent& tier : intent.tiers) {
        bool onStone = false, anyName = false;
        tier.names.resize(tier.planes.size());
        for (size_t k = 0; k < tier.planes.size(); ++k) {
            const bool found = facets.first(tier.planes[k]) >= 0;
            if (found) tier.names[k].clear();
            onStone = onStone || found;
            anyName = anyName || !tier.names[k].empty();
        }
        if (!anyName) tier.names.clear();
        if (onStone) tier.instruction.clear();
    }
}

namespace {

bool sameChange(const std::optional<TierChange>& a, const std::optional<TierChange>& b) {
    if (!a || !b) return !a && !b;
    return a->tier == b->tier && a->setAngle == b->setAngle && a->angle == b->angle && a->setIndex == b->setIndex &&
           a->index == b->index && a->setCed == b->setCed && a->ced == b->ced;
}

// How many tiers from the first on a re-cut of `intent` may take from the
// last one: tiers given alike, while every later tier's facets (which a
// point may name) are where they were.
int32_t reusableTiers(const std::vector<TierIntent>& last, const Stone* lastDesign,
                      const Stone& design, const DesignIntent& intent, const std::optional<TierChange>& lastChange,
                      const std::optional<TierChange>& change, double lastTolerance, double meetTolerance,
                      int32_t lastFirst, int32_t first, int32_t kept) {
    if (lastDesign != &design || !sameChange(lastChange, change) || lastTolerance != meetTolerance ||
        lastFirst != first || last.size() != intent.tiers.size())
        return 0;
    int32_t same = 0;
    while (same < kept && last[size_t(same)] == intent.tiers[size_t(same)]) ++same;
    for (size_t t = size_t(same); t < last.size(); ++t)
        if (last[t].planes != intent.tiers[t].planes || last[t].indexes != intent.tiers[t].indexes) return 0;
    return same;
}

}  // namespace

RecutResult recutByIntent(const Stone& design, const DesignIntent& intent,
                          const std::optional<TierChange>& change, double meetTolerance) {
    return recutByIntent(design, intent, change, meetTolerance, nullptr);
}

RecutResult recutByIntent(const Stone& design, const DesignIntent& intent, const std::optional<TierChange>& change,
                          double meetTolerance, RecutSteps* steps) {
    RecutResult out{Stone(design), intent, {}, {}, 0};
    Stone& stone = out.stone;
    const int32_t gear = design.gear;
    const int32_t changed = change ? change->tier : 0;
    const int32_t tierCount = int32_t(out.intent.tiers.size());
    if (changed < 0 || changed >= tierCount) {
        out.problems.push_back(strprintf("There is no tier %d to change.", changed + 1));
        out.problemCodes.push_back(DiagCode::IntentNoSuchTier);
        out.refused = true;
        return out;
    }
    // A re-cut makes each tier's facets anew from its symmetry: a tier no
    // design file could hold is refused before any cutting, not after
    // minutes of it, nor written for the reader to refuse.
    if (std::string problem = intentLimitProblem(intent); !problem.empty()) {
        out.problems.push_back(problem);
        out.problemCodes.push_back(DiagCode::IntentBeyondLimits);
        out.refused = true;
        return out;
    }
    // A meet the planes were only found near is closed by placing its tier again.
    int32_t first = changed;
    for (int32_t t = 0; t < changed; ++t)
        if (intent.tiers[t].gap > 0) {
            first = t;
            break;
        }
    const double tolerance = meetToleranceOf(design, meetTolerance);

    // Names and instructions stay with the facet they were given to; a facet
    // that later tiers cut away entirely keeps the name it was cut with,
    // should a re-cut bring it back.
    std::vector<std::vector<Strings>> strings(tierCount);
    const PlaneLookup designFacets = designFacetsOf(design);
    for (int32_t t = 0; t < tierCount; ++t) {
        const TierIntent& tier = intent.tiers[t];
        strings[t].resize(tier.planes.size());
        bool onStone = false;
        for (size_t k = 0; k < tier.planes.size(); ++k) {
            const int32_t facet = designFacets.first(tier.planes[k]);
            const bool found = facet >= 0;
            if (found) {
                const Facet& f = design.facets[facet];
                strings[t][k] = {f.name, f.instruction};
            }
            if (!found && k < tier.names.size()) strings[t][k].name = tier.names[k];
            onStone = onStone || found;
        }
        if (!onStone && !strings[t].empty()) strings[t][0].instruction = tier.instruction;
    }
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        stone.facets[i].name.clear();
        stone.facets[i].instruction.clear();
    }
    stone.makeRough(roughHalfOf(design));
    stone.eraseRays();

    if (change) applyChange(out.intent.tiers[changed], *change, gear);

    // The tiers the last re-cut of a close variant cut alike are taken as
    // they were, with the stone they left.
    int32_t start = 0;
    if (steps) {
        start = reusableTiers(steps->intent_.tiers, steps->design_, design, intent, steps->change_, change,
                              steps->meetTolerance_, meetTolerance, steps->first_, first,
                              int32_t(steps->steps_.size()));
        steps->steps_.erase(steps->steps_.begin() + start, steps->steps_.end());
        steps->reused_ = start;
        for (int32_t t = 0; t < start; ++t) {
            RecutSteps::Step& step = steps->steps_[size_t(t)];
            out.intent.tiers[t] = step.tier;
            out.problems.insert(out.problems.end(), step.problems.begin(), step.problems.end());
            out.problemCodes.insert(out.problemCodes.end(), step.problemCodes.begin(), step.problemCodes.end());
            out.failedTiers += step.problems.empty() ? 0 : 1;
            out.refused = out.refused || step.refused;
        }
        if (start > 0) stone = steps->steps_[size_t(start) - 1].stone;
        steps->design_ = &design;
        steps->intent_ = intent;
        steps->change_ = change;
        steps->meetTolerance_ = meetTolerance;
        steps->first_ = first;
    }

    try {
        for (int32_t t = start; t < tierCount; ++t) {
            const size_t problemsBefore = out.problems.size();
            TierIntent& tier = out.intent.tiers[t];
            if (t >= first) {
                TierIntent placed = tier;
                placed.failure.clear();
                PointContext context{stone, out.intent, gear, t, tolerance};
                std::string why;
                bool ok = solveTier(placed, context, design.indexOffset, why);
                if (ok) {
                    placed.planes = planesOfTier(placed, gear, design.indexOffset);
                    int missing = 0;
                    for (const Plane& p : placed.planes) missing += anyOutside(stone, p) ? 0 : 1;
                    if (missing > 0) {
                        ok = false;
                        why = missing > 1 ? strprintf("%d of its facets would miss the stone", missing)
                                          : std::string("a facet of it would miss the stone");
                    }
                }
                if (ok) {
                    placed.gap = 0;
                    tier = std::move(placed);
                } else {
                    tier.failure = why;
                    ++out.failedTiers;
                    out.refused = out.refused || (change && t == changed);
                    out.problems.push_back(strprintf("Tier %d keeps its last place: %s.", t + 1, why.c_str()));
                    out.problemCodes.push_back(DiagCode::IntentNotKept);
                }
            }
            tier.names.assign(tier.planes.size(), std::string());
            tier.instruction.clear();
            for (size_t k = 0; k < tier.planes.size(); ++k) {
                Strings s;
                if (k < strings[t].size()) s = std::move(strings[t][k]);
                tier.names[k] = s.name;
                if (tier.instruction.empty()) tier.instruction = s.instruction;
                cutPlane(stone, tier.planes[k], std::move(s.name), std::move(s.instruction));
            }
            if (steps) {
                RecutSteps::Step step{stone, tier, {}, {}, out.refused};
                step.problems.assign(out.problems.begin() + long(problemsBefore), out.problems.end());
                step.problemCodes.assign(out.problemCodes.begin() + long(problemsBefore), out.problemCodes.end());
                steps->steps_.push_back(std::move(step));
            }
        }
    } catch (const KernelError& error) {
        out.problems.push_back(error.what());
        out.problemCodes.push_back(DiagCode::KernelBrokenPolyhedron);
        ++out.failedTiers;
        out.refused = true;  // the stone is cut part way
    }
    keepNamesOfCutAwayFacets(stone, out.intent);
    return out;
}

}  // namespace brevix
