// The designing side of the document: cutting the pending facet with
// its symmetry, the undo ring and the summary values.
#include "document/gem_doc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "design/measures.h"
#include "design/tiers.h"
#include "designing/gear_ranking.h"
#include "designing/placement.h"
#include "designing/round_indexes.h"
#include "document/document_ui.h"
#include "kernel/kernel_error.h"
#include "platform/busy_cursor.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

CGemDoc::CGemDoc() = default;
CGemDoc::~CGemDoc() = default;

Stone& CGemDoc::ensureStone() {
    if (!stone_) {
        stone_ = std::make_unique<Stone>(ROUGH_HALF);
        stone_->symmetry = pending_.info.symmetry;
        stone_->mirror = pending_.info.mirror;
    }
    return *stone_;
}

void CGemDoc::setStone(std::unique_ptr<Stone> stone) {
    // What the old stone noted and nobody has shown yet is not lost with it.
    if (stone_ && stone) stone->addNotes(stone_->takeDiagnostics());
    stone_ = std::move(stone);
}

MessageSink& CGemDoc::sink() { return sink_ ? *sink_ : standardError_; }

void CGemDoc::showNotes(const Diagnostics& notes) { showAll(notes, sink()); }

void CGemDoc::showNotes() {
    for (Stone* s : {stone_.get(), hiddenDesign.get()})
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

void CGemDoc::setModifiedFlag(bool modified) {
    const bool changed = modified_ != modified;
    modified_ = modified;
    if (modified && current_.state == savedState_) current_.state = nextTag_++;
    // The title's mark must not wait for the next redraw: a save to the
    // file already open redraws nothing.
    if (changed && files_.ui) files_.ui->modifiedChanged(modified);
}

void CGemDoc::takeSymmetryFromStone() {
    if (!stone_) return;
    pending_.info.symmetry = stone_->symmetry;
    pending_.info.mirror = stone_->mirror;
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
    Command command(*this);
    // What the cut was aimed at is named on the stone as it stood before it.
    const DesignIntent beforeIntent = designIntent();
    // A re-cut took its snapshot when the tier was taken out.
    CutCounts counts;
    bool done = true;
    const bool cut = changeStone(
        [&](Stone& s) {
            const Stone beforeCut(s);
            counts = cutFacetSet(s, pending_.info);
            if (counts.missed == 0 && counts.made > 0) recordCut(beforeCut, beforeIntent, counts.made);
            if (counts.missed > 0) {
                say(strprintf("%d new facet%s missed stone", counts.missed, counts.missed > 1 ? "s" : ""));
                done = false;  // the cutter corrects one value and cuts again
            } else if (pending_.info.recutPending) {
                // The new facets are the last ones. Counting them from the end
                // rather than trusting recutFirstFacet keeps the right facets
                // when the cut also removed older facets or rough faces.
                putRecutBack(s.nFacet - counts.made);
            }
        },
        pending_.info.recutPending ? Snapshot::Kept : Snapshot::Take, view);
    if (!cut) return false;

    if (counts.cutOff > 0) {
        const char* plural = counts.cutOff > 1 ? "s" : "";
        if (stone_->preform) {
            say(strprintf("New facet(s) will cut off %d facet%s.", counts.cutOff, plural));
        } else {
            const Answer answer = ask(
                strprintf("New facet(s) will cut off %d facet%s.\nKeep cut off facet%s as preform?",
                          counts.cutOff, plural, plural),
                Buttons::YesNoCancel);
            if (answer == Answer::Yes) {
                if (const Stone* before = undoRing.latest())
                    stone_->setPreform(std::make_unique<Stone>(*before));
            } else if (answer == Answer::Cancel) {
                // The cut is withdrawn, not what was typed for it: the
                // cutter changes one value and tries again.
                const NewFacetInfo typed = pending_.info;
                undo();
                if (!typed.recutPending) pending_.info = typed;
                redrawForm();
                return false;
            }
        }
    }
    return done;
}

void CGemDoc::putRecutBack(int32_t firstNew) {
    Stone& stone = *stone_;
    if (firstNew >= 0 && firstNew < stone.nFacet) {
        const int32_t named = nearestInTier(stone, firstNew, pending_.info.recutIndex);
        stone.setFacetName(named, pending_.info.recutName);
        setTierInstruction(stone, firstNew, pending_.info.recutInstruction);
        moveFacets(stone, firstNew, std::min(pending_.info.recutPlace, firstNew));
    }
    clearRecut(pending_.info);
}

void CGemDoc::prepareRecut(int32_t facet) {
    Stone& stone = *stone_;
    pending_.info.recutIndex = 0;
    pending_.info.recutName = tierName(stone, facet, &pending_.info.recutIndex);
    pending_.info.recutInstruction = tierInstruction(stone, facet);
    pending_.info.recutPending = true;
    if (!pending_.info.hasIndex) pending_.setIndex(std::round(stone.facetIndexOf(facet)), false);
    pending_.info.recutPlace = firstFacetOfTier(stone, facet);
}

void CGemDoc::uncutTier(int32_t facet, bool inPreform) {
    if (!stone_ || facet < 0 || facet >= stone_->nFacet) return;
    if (inPreform) {
        saveUndo();
        say("Cannot change preform");
        return;
    }
    changeStone([&](Stone& stone) {
        prepareRecut(facet);
        deleteTier(stone, stone.tierOf(facet));
        pending_.info.recutFirstFacet = stone.nFacet;
    });
}

void CGemDoc::cutFromForm(const void* view) {
    Command command(*this);
    if (cutNewFacets(view)) pending_.clearInfo();
    redrawForm();
    updateAllViews(view);
}

void CGemDoc::angleCommand(double a) {
    Command command(*this);
    pending_.setAngle(a, false);
    if (pending_.completeInfo() && cutNewFacets()) pending_.clearInfo();
    redrawForm();
    updateAllViews();
}

void CGemDoc::indexCommand(double i) {
    Command command(*this);
    pending_.setIndex(i, false);
    if (pending_.completeInfo() && cutNewFacets()) pending_.clearInfo();
    redrawForm();
    updateAllViews();
}

// ---- index gear ----------------------------------------------------------

void CGemDoc::setIndexGear(int gear, double offset) {
    Stone& stone = ensureStone();
    stone.gear = gear;
    stone.indexOffset = offset;
    redrawForm();
    updateAllViews();
}

void CGemDoc::OnIndexGear(const GearDialogRunner& runDialog) {
    const Stone& stone = ensureStone();
    if (const std::optional<IndexGearDialog> chosen =
            runDialog(IndexGearDialog::open(stone.gear, stone.indexOffset)))
        setIndexGear(chosen->teeth, chosen->offset);
}

void CGemDoc::offerIndexRounding(const GearDialogRunner& runDialog) {
    offerIndexRounding(std::function<void()>([&] { OnIndexGear(runDialog); }));
}

void CGemDoc::offerIndexRounding(const std::function<void()>& chooseGear) {
    // The views already show the scaled stone the question is about: the
    // scale was a command of its own.
    if (!stone_) return;
    // Without a dialog to choose the gear there is nothing sensible to round to.
    const Answer answer =
        ask(gearRankingText(*stone_), Buttons::YesNoCancel, Icon::Question, Answer::No);
    if (answer != Answer::Yes) return;
    Command command(*this);
    if (chooseGear) chooseGear();
    auto before = std::make_unique<Stone>(*stone_);
    std::string failure;
    Icon failureIcon = Icon::Warning;
    {
        BusyCursor busy(busyIndicator);
        try {
            if (roundIndexes(*stone_) != 0) failure = "Cannot round indexes.";
        } catch (const KernelError& error) {
            failure = error.what();
            failureIcon = Icon::Error;
        }
        if (!failure.empty()) setStone(std::move(before));
    }
    // Told once the wait cursor has gone, so the message box has an ordinary one.
    if (!failure.empty()) say(failure, failureIcon);
    takeSymmetryFromStone();
    refreshSummaryValues();
    redrawForm();
    updateAllViews();
}

// ---- undo ring -----------------------------------------------------------

void CGemDoc::saveUndo() {
    if (!stone_) return;
    // A design changed outside the ring since it was saved is no longer the
    // saved state, whatever its tag says.
    StateTag snapshot = current_;
    if (modified_ && snapshot.state == savedState_) snapshot.state = nextTag_++;
    setModifiedFlag(true);
    slotTags_[undoRing.undoCursor] = snapshot;
    intentRing[undoRing.undoCursor] = recordedIntent;
    undoRing.save(*stone_);
    current_.state = nextTag_++;  // the command about to change the stone makes a new state
}

void CGemDoc::undo() {
    if (!stone_) return;
    undoRing.undo(stone_);
    std::swap(current_, slotTags_[undoRing.undoCursor]);
    std::swap(recordedIntent, intentRing[undoRing.undoCursor]);
    afterUndoOrRedo();
}

void CGemDoc::redo() {
    if (!stone_) return;
    const int slot = undoRing.undoCursor;
    std::swap(recordedIntent, intentRing[undoRing.undoCursor]);
    undoRing.redo(stone_);
    std::swap(current_, slotTags_[slot]);
    afterUndoOrRedo();
}

void CGemDoc::startLineage() {
    current_.state = nextTag_++;
    current_.lineage = nextTag_++;
}

void CGemDoc::designOpened() {
    // The file's stamp is the opener's to take (a database member has none).
    files_.forgetFileStamp();
    startLineage();
    markSaved();
}

void CGemDoc::designCreated() {
    startLineage();
    fileLineage_ = savedState_ = 0;
    recordedIntent.reset();
    facetCount = 0;
    girdleCount = 0;
    lengthWidth = -1;
}

void CGemDoc::markSaved() {
    fileLineage_ = current_.lineage;
    savedState_ = current_.state;
}

void CGemDoc::afterUndoOrRedo() {
    Command command(*this);
    // Undo and redo change the design in hand: it is the one in its file
    // only when they arrive exactly at the state last opened or saved. (A
    // design no file holds keeps its flag: any change to it has set it.)
    if (savedState_ != 0) setModifiedFlag(current_.state != savedState_);
    refreshSummaryValues();
    takeSymmetryFromStone();
    pending_.clearInfo();
    clearRecut(pending_.info);
    redrawForm();
    updateAllViews();
}

// ---- summary and views -------------------------------------------------

void CGemDoc::refreshSummaryValues() {
    if (!stone_) {
        facetCount = 0;
        girdleCount = 0;
        lengthWidth = -1;
        return;
    }
    facetCount = stone_->nFacet - stone_->nRough;
    girdleCount = stone_->nGirdle;
    lengthWidth = lengthToWidth(*stone_);
}

void CGemDoc::updateAllViews(const void* sender) {
    if (commandDepth_ > 0) {
        viewsPending_ = true;
        if (!pendingSender_) pendingSender_ = sender;
        return;
    }
    showNotes();
    if (onUpdateAllViews) onUpdateAllViews(sender);
    // What the views asked of the design on the way (every index of a
    // design without a gear, say) is told as part of the same command.
    showNotes();
}

void CGemDoc::redrawForm() {
    if (commandDepth_ > 0) {
        formPending_ = true;
        return;
    }
    if (onRedrawForm) onRedrawForm();
}

void CGemDoc::designChanged(const void* view) {
    refreshSummaryValues();
    redrawForm();
    updateAllViews(view);
}

// ---- one command ---------------------------------------------------------

CGemDoc::Command::Command(CGemDoc& doc) : doc_(doc) { ++doc_.commandDepth_; }

CGemDoc::Command::~Command() { doc_.endCommand(); }

void CGemDoc::endCommand() {
    if (--commandDepth_ > 0) return;
    // The form first: the views read the pending facet it shows.
    if (std::exchange(formPending_, false)) redrawForm();
    if (std::exchange(viewsPending_, false))
        updateAllViews(std::exchange(pendingSender_, nullptr));
    else
        showNotes();
}

bool CGemDoc::changeStone(const std::function<void(Stone&)>& change, Snapshot snapshot, const void* view) {
    if (!stone_) return false;
    Command command(*this);
    // The design and the pending facet as they were, for a failure to put
    // back: whatever the kernel left half done is not a design.
    auto before = std::make_unique<Stone>(*stone_);
    const NewFacetInfo pending = pending_.info;
    const std::optional<DesignIntent> intent = recordedIntent;
    if (snapshot == Snapshot::Take) saveUndo();
    bool done = true;
    try {
        change(*stone_);
    } catch (const KernelError& error) {
        setStone(std::move(before));
        pending_.info = pending;
        recordedIntent = intent;
        say(error.what(), Icon::Error);
        done = false;
    }
    designChanged(view);
    return done;
}

}  // namespace brevix
