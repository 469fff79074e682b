// The designing side of the document: cutting the pending facet with its
// symmetry, undo, and what the window shows of the design.
#include "document/gem_doc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "design/measures.h"
#include "design/tiers.h"
#include "facet_placement/placement.h"
#include "document/document_ui.h"
#include "document/size_settings.h"
#include "kernel/kernel_error.h"
#include "optics/weight_material.h"
#include "platform/busy_cursor.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

CGemDoc::CGemDoc() : CGemDoc(nullptr) {}

CGemDoc::CGemDoc(MessageSink* sink) : sink_(sink) {
    model_.addListener([this](DesignChanges kind, const void* sender) { designChanged(kind, sender); });
    // A change the kernel gave up on takes back what it did to the pending facet too.
    model_.keepAlongside = [this] { return std::function<void()>([this, pending = pending_.info] { pending_.info = pending; }); };
    model_.onFailure = [this](std::string_view failure) { say(failure, Icon::Error); };
    model_.onModifiedChanged = [this](bool modified) {
        if (files_.ui) files_.ui->modifiedChanged(modified);
    };
}

CGemDoc::~CGemDoc() = default;

Stone& CGemDoc::ensureStone() { return model_.ensureStone(pending_.info.symmetry, pending_.info.mirror); }

MessageSink& CGemDoc::sink() { return sink_ ? *sink_ : standardError_; }

void CGemDoc::showNotes(const Diagnostics& notes) { showAll(notes, sink()); }

void CGemDoc::showNotes() {
    showNotes(std::exchange(readerNotes_, Diagnostics{}));
    for (Stone* s : {stone(), hiddenDesign.get()})
        if (s) {
            showNotes(s->takeDiagnostics());
            if (s->preform) showNotes(s->preform->takeDiagnostics());
        }
}

void CGemDoc::say(std::string_view text, Icon icon) {
    showNotes();
    sink().show(text, icon);
}

Answer CGemDoc::ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) {
    showNotes();
    return sink().ask(text, buttons, icon, fallback);
}

void CGemDoc::takeSymmetryFromStone() {
    if (!stone()) return;
    pending_.info.symmetry = stone()->symmetry;
    pending_.info.mirror = stone()->mirror;
}

// ---- cutting -----------------------------------------------------------

bool CGemDoc::cutNewFacets(const void* view) {
    if (!pending_.info.complete()) return false;
    Stone& stone = ensureStone();
    // Every azimuth divides by the gear, and a plane through the centre has
    // no outward side: neither can be cut, so nothing is touched.
    if (stone.gear == 0) {
        say("Zero index gear");
        return false;
    }
    if (std::fabs(pending_.info.ced) < EPS) {
        say("New facet cuts through center of stone");
        return false;
    }
    if (depthBeyondCentre(pending_.info) &&
        ask(strprintf("The point gives the new facet a negative depth (%.4f): it would lie beyond the centre "
                      "of the stone and cut most of it away.\nCut it anyway?",
                      pending_.info.ced),
            Buttons::YesNo, Icon::Warning, Answer::No) != Answer::Yes)
        return false;
    DesignModel::Batch batch(model_);
    // What the cut was aimed at is named on the stone as it stood before it.
    const DesignIntent beforeIntent = model_.intent();
    CutCounts counts;
    bool done = true;
    const bool cut = model_.apply(
        {.name = "Cut Facet",
         .kind = GeometryChanged | PendingChanged,
         .change =
             [&](DesignModel::Draft& d) {
                 Stone& s = d.stone();
                 const Stone beforeCut(s);
                 counts = cutFacetSet(s, pending_.info);
                 if (counts.missed == 0 && counts.made > 0) recordCut(d, beforeCut, beforeIntent, counts.made);
                 if (counts.missed > 0) {
                     say(strprintf("%d new facet%s missed stone", counts.missed, counts.missed > 1 ? "s" : ""));
                     done = false;  // the cutter corrects one value and cuts again
                 } else if (pending_.info.recutPending) {
                     // The new facets are the last ones. Counting them from the end
                     // rather than trusting recutFirstFacet keeps the right facets
                     // when the cut also removed older facets or rough faces.
                     putRecutBack(s, s.nFacet - counts.made);
                 }
                 return true;
             },
         // A re-cut's entry was kept when the tier was taken out.
         .keep = pending_.info.recutPending ? DesignModel::Keep::None : DesignModel::Keep::Snapshot,
         .sender = view});
    if (!cut) return false;

    if (counts.cutOff > 0) {
        const char* plural = counts.cutOff > 1 ? "s" : "";
        if (this->stone()->preform) {
            say(strprintf("New facet(s) will cut off %d facet%s.", counts.cutOff, plural));
        } else {
            const Answer answer = ask(
                strprintf("New facet(s) will cut off %d facet%s.\nKeep cut off facet%s as preform?",
                          counts.cutOff, plural, plural),
                Buttons::YesNoCancel);
            if (answer == Answer::Yes) {
                // Part of the cut: its undo entry already holds the design before it.
                if (const Stone* before = undo_.latest())
                    model_.apply({.name = {}, .kind = GeometryChanged,
                                  .change =
                                      [&](DesignModel::Draft& d) {
                                          d.stone().setPreform(std::make_unique<Stone>(*before));
                                          return true;
                                      },
                                  .keep = DesignModel::Keep::None});
            } else if (answer == Answer::Cancel) {
                // The cut is withdrawn, not what was typed for it: the
                // cutter changes one value and tries again.
                const NewFacetInfo typed = pending_.info;
                undo();
                if (!typed.recutPending) pending_.info = typed;
                pendingChanged();
                return false;
            }
        }
    }
    return done;
}

void CGemDoc::putRecutBack(Stone& stone, int32_t firstNew) {
    if (firstNew >= 0 && firstNew < stone.nFacet) {
        const int32_t named = nearestInTier(stone, firstNew, pending_.info.recutIndex);
        stone.setFacetName(named, pending_.info.recutName);
        setTierInstruction(stone, firstNew, pending_.info.recutInstruction);
        moveFacets(stone, firstNew, std::min(pending_.info.recutPlace, firstNew));
    }
    clearRecut(pending_.info);
}

void CGemDoc::prepareRecut(int32_t facet) {
    const Stone& stone = *this->stone();
    pending_.info.recutIndex = 0;
    pending_.info.recutName = tierName(stone, facet, &pending_.info.recutIndex);
    pending_.info.recutInstruction = tierInstruction(stone, facet);
    pending_.info.recutPending = true;
    if (!pending_.info.hasIndex) {
        Diagnostics said;
        pending_.setIndex(std::round(stone.facetIndexOf(facet, said)), false);
        this->stone()->addNotes(std::move(said));
    }
    pending_.info.recutPlace = firstFacetOfTier(stone, facet);
}

void CGemDoc::uncutTier(int32_t facet, bool inPreform) {
    if (!stone() || facet < 0 || facet >= stone()->nFacet) return;
    const std::string name = "Uncut " + tierName(*stone(), facet);
    if (inPreform) {
        // The preform is not the design's to re-cut; the entry stays as it always has.
        model_.apply({.name = name, .kind = 0, .change = [](DesignModel::Draft&) { return true; }});
        say("Cannot change preform");
        return;
    }
    model_.apply({.name = name,
                  .kind = GeometryChanged | PendingChanged,
                  .change = [&](DesignModel::Draft& d) {
                      Stone& stone = d.stone();
                      prepareRecut(facet);
                      deleteTier(stone, stone.tierOf(facet));
                      pending_.info.recutFirstFacet = stone.nFacet;
                      return true;
                  }});
}

// ---- undo ----------------------------------------------------------------

void CGemDoc::undo() {
    if (!stone()) return;
    DesignModel::Batch batch(model_);
    model_.undo();
    afterUndoOrRedo();
}

void CGemDoc::redo() {
    if (!stone()) return;
    DesignModel::Batch batch(model_);
    model_.redo();
    afterUndoOrRedo();
}

void CGemDoc::afterUndoOrRedo() {
    takeSymmetryFromStone();
    pending_.clearInfo();
    clearRecut(pending_.info);
    pendingChanged();
}

// ---- summary and what the window shows -----------------------------------

void CGemDoc::refreshSummary() {
    ensureStone();
    refreshSummaryValues();
}

void CGemDoc::refreshSummaryValues() {
    Stone* design = stone();
    if (!design) {
        facetCount = 0;
        girdleCount = 0;
        lengthWidth = -1;
        return;
    }
    facetCount = design->nFacet - design->nRough;
    girdleCount = design->nGirdle;
    // An uncut block (a New design) has no proportions to show yet.
    lengthWidth = facetCount == 0 ? -1 : lengthToWidth(*design);
}

void CGemDoc::designChanged(DesignChanges kind, const void* sender) {
    if (kind == 0) {
        showNotes();
        return;
    }
    refreshSummaryValues();
    live_.reset();
    showNotes();
    if (onDesignChanged) onDesignChanged(kind, sender);
    // What the views asked of the design on the way (every index of a
    // design without a gear, say) is told as part of the same change.
    showNotes();
}

const LiveDesign& CGemDoc::live() {
    if (live_) return *live_;
    ++liveComputations_;
    LiveInputs in;
    in.stone = stone();
    in.intent = model_.recordedIntent() ? &*model_.recordedIntent() : nullptr;
    in.previous = undo_.latest();
    in.pending = &pending_.info;
    in.dragging = drag_.active();
    if (in.stone) {
        const SizeSettings size = loadSizeSettings();
        in.size = size.size;
        in.material = optics::weightMaterial(size.material, size.specificGravity, in.stone->refractiveIndex);
    }
    live_ = liveDesignOf(in);
    return *live_;
}

}  // namespace brevix
