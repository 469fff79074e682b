// The document's side of cutting intent: recording each cut's intent,
// keeping it with the undo snapshots, and re-cutting by it when a tier's
// angle changes.
#include <cmath>
#include <memory>

#include "design/tiers.h"
#include "facet_placement/placement.h"
#include "document/gem_doc.h"
#include "intent/design_intent.h"
#include "intent/point_naming.h"
#include "intent/tier_planes.h"
#include "platform/messages.h"

namespace brevix {

void CGemDoc::recordCut(DesignModel::Draft& draft, const Stone& before, const DesignIntent& beforeIntent,
                        int made) {
    const Stone& after = draft.stone();
    DesignIntent intent = beforeIntent;
    TierIntent tier;
    tier.angle = pending_.info.angle;
    tier.index = pending_.info.index;
    tier.symmetry = pending_.info.symmetry;
    tier.mirror = pending_.info.mirror;
    tier.ced = pending_.info.ced;
    for (int32_t i = after.nFacet - made; i < after.nFacet; ++i) {
        const Facet& f = after.facets[i];
        const Plane p = f.plane();
        tier.planes.push_back(p);
        tier.indexes.push_back(indexOfPlane(p, after.gear, after.indexOffset));
    }
    if (pending_.info.nPoints > 0) {
        tier.depth = DepthRule::Points;
        for (int k = 0; k < pending_.info.nPoints; ++k)
            tier.points.push_back(namePoint(before, beforeIntent, pending_.info.points[k]));
        tier.angleFromPoints = pending_.angleFromPoints() || pending_.info.nPoints == 3;
        tier.indexFromPoints = pending_.indexFromPoints() || pending_.info.nPoints == 3;
    } else if (pending_.defaultDepth()) {
        tier.depth = DepthRule::FirstDefault;
    }
    intent.tiers.push_back(std::move(tier));
    draft.intent() = std::move(intent);
}

bool CGemDoc::recutTierAngle(int32_t facet, double shownAngle, const std::function<void(Stone&)>& alsoChange) {
    const Stone* design = stone();
    if (!design || facet < 0 || facet >= design->nFacet) return false;
    const DesignIntent& intent = model_.intent();
    return recutIntentTier(intentTierOfFacet(*design, intent, facet), shownAngle, "Edit Tier " + tierName(*design, facet),
                           alsoChange);
}

bool CGemDoc::changeTierAngle(const std::string& name, double shownAngle) {
    if (!stone()) return false;
    const int32_t tier = findTier(*stone(), model_.intent(), name);
    if (tier < 0) return false;
    return recutIntentTier(tier, shownAngle, "Edit Tier " + name);
}

bool CGemDoc::recutIntentTier(int32_t tier, double shownAngle, const std::string& name,
                              const std::function<void(Stone&)>& alsoChange) {
    if (!stone() || tier < 0) return false;
    return model_.apply({.name = name, .kind = GeometryChanged | NamesChanged, .change = [&](DesignModel::Draft& d) {
                             const DesignIntent intent = model_.intent();
                             if (tier >= int32_t(intent.tiers.size())) return false;
                             // Made on a copy, so that a refused re-cut leaves no trace:
                             // not the names, not the undo stack, not the modified mark.
                             Stone start(d.stone());
                             if (alsoChange) alsoChange(start);
                             RecutResult cut =
                                 brevix::recutTierAngle(start, intent, tier, shownAngle, model_.meetTolerance());
                             for (const std::string& problem : cut.problems) say(problem, Icon::Warning);
                             if (cut.refused) return false;
                             d.replace(std::move(cut.stone));
                             d.intent() = std::move(cut.intent);
                             return true;
                         }});
}

bool CGemDoc::takeRecut(RecutResult cut, const std::string& name) {
    showNotes(cut.problemNotes());
    // A refused re-cut is only told: what it would leave is no design.
    if (cut.refused) return false;
    return model_.apply({.name = name, .kind = GeometryChanged, .change = [&](DesignModel::Draft& d) {
                             d.replace(std::move(cut.stone));
                             d.intent() = std::move(cut.intent);
                             return true;
                         }});
}

}  // namespace brevix
