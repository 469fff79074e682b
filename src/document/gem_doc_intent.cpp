// The document's side of cutting intent: recording each cut's intent,
// keeping it with the undo snapshots, and re-cutting by it when a tier's
// angle changes.
#include <cmath>
#include <memory>

#include "designing/placement.h"
#include "document/gem_doc.h"
#include "intent/design_intent.h"
#include "intent/point_naming.h"
#include "intent/tier_planes.h"
#include "platform/messages.h"

namespace brevix {

const DesignIntent& CGemDoc::designIntent() {
    if (!stone_) {
        recordedIntent.emplace();
        return *recordedIntent;
    }
    recordedIntent = intentOf(*stone_, recordedIntent ? &*recordedIntent : nullptr, meetTolerance_);
    return *recordedIntent;
}

void CGemDoc::setMeetTolerance(double share) {
    if (share == meetTolerance_) return;
    meetTolerance_ = share;
    if (!recordedIntent) return;
    bool allInferred = true;
    for (const TierIntent& tier : recordedIntent->tiers) allInferred = allInferred && tier.inferred;
    if (allInferred) recordedIntent.reset();
}

void CGemDoc::recordCut(const Stone& before, const DesignIntent& beforeIntent, int made) {
    const Stone& after = *stone_;
    DesignIntent intent = beforeIntent;
    TierIntent tier;
    tier.angle = pending_.info.angle;
    tier.index = pending_.info.index;
    tier.symmetry = pending_.info.symmetry;
    tier.mirror = pending_.info.mirror;
    tier.ced = pending_.info.ced;
    for (int32_t i = after.nFacet - made; i < after.nFacet; ++i) {
        const Facet& f = after.facets[i];
        const Plane p{f.a, f.b, f.c, f.d};
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
    recordedIntent = std::move(intent);
}

bool CGemDoc::recutTierAngle(int32_t facet, double shownAngle, bool takeSnapshot,
                             const std::function<void(Stone&)>& alsoChange) {
    if (!stone_ || facet < 0 || facet >= stone_->nFacet) return false;
    const DesignIntent intent = designIntent();
    return recutIntentTier(intentTierOfFacet(*stone_, intent, facet), shownAngle, takeSnapshot, alsoChange);
}

bool CGemDoc::changeTierAngle(const std::string& name, double shownAngle) {
    if (!stone_) return false;
    const int32_t tier = findTier(*stone_, designIntent(), name);
    if (tier < 0) return false;
    bool done = false;
    changeStone([&](Stone&) { done = recutIntentTier(tier, shownAngle, true); }, Snapshot::Kept);
    return done;
}

bool CGemDoc::recutIntentTier(int32_t tier, double shownAngle, bool takeSnapshot,
                              const std::function<void(Stone&)>& alsoChange) {
    if (!stone_ || tier < 0) return false;
    const DesignIntent intent = designIntent();
    if (tier >= int32_t(intent.tiers.size())) return false;
    // Made on a copy, so that a refused re-cut leaves no trace: not the
    // names, not the undo ring, not the modified mark.
    Stone start(*stone_);
    if (alsoChange) alsoChange(start);
    RecutResult cut = brevix::recutTierAngle(start, intent, tier, shownAngle, meetTolerance_);
    for (const std::string& problem : cut.problems) say(problem, Icon::Warning);
    if (cut.refused) return false;
    if (takeSnapshot) saveUndo();
    setStone(std::make_unique<Stone>(std::move(cut.stone)));
    recordedIntent = std::move(cut.intent);
    refreshSummaryValues();
    return true;
}

}  // namespace brevix
