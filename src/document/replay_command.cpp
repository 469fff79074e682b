#include "document/replay_command.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "document/gem_doc.h"
#include "kernel/kernel_error.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

CurrentFacetTexts textsOf(const Stone& stone, int32_t facet, const std::string& name) {
    CurrentFacetTexts texts;
    texts.name = name;
    double angle = stone.facetAngleOf(facet);
    // A gear of no notches has no index to show (and asking would complain
    // once per facet).
    if (stone.gear == 0) {
        texts.angle = strprintf("%.2f", std::fabs(angle));
        return texts;
    }
    double index = stone.facetIndexOf(facet);
    if (angle < 0) {
        angle = -angle;
        index = std::abs(stone.gear) - index;
    }
    texts.angle = strprintf("%.2f", angle);
    texts.index = strprintf("%.2f", index);
    return texts;
}

}  // namespace

void replayCommand(CGemDoc& doc, const ReplayStep& step) {
    if (!doc.stone()) return;
    // The design stays aside, whole, whatever happens during the replay.
    auto design = std::make_unique<Stone>(*doc.stone());
    auto replay = std::make_unique<Stone>(ROUGH_HALF);
    replay->gear = design->gear;
    replay->indexOffset = design->indexOffset;
    replay->symmetry = design->symmetry;
    replay->mirror = design->mirror;
    // The replay is shown, not made: no undo entry, no change to save.
    DesignModel& model = doc.model();
    model.put(std::move(replay));

    try {
        for (int32_t i = 0; i < design->nFacet; ++i) {
            const Facet& f = design->facets[i];
            if (f.isRough()) continue;
            Stone& stone = *doc.stone();
            // A plane that removes nothing adds no facet to show.
            if (stone.newFacet(f.a, f.b, f.c, f.d, f.name + "+", f.instruction) < 0) continue;
            const int32_t newest = stone.nFacet - 1;
            model.announce(GeometryChanged);
            if (!step(textsOf(stone, newest, f.name))) break;
            stone.setFacetName(newest, f.name);
        }
    } catch (const KernelError& error) {
        doc.say(error.what(), Icon::Error);
    }

    DesignModel::Batch batch(model);
    model.put(std::move(design));
    doc.pendingChanged();
}

}  // namespace brevix
