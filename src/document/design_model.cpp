#include "document/design_model.h"

#include <utility>

#include "intent/design_intent.h"
#include "intent/point_resolution.h"
#include "kernel/kernel_error.h"

namespace brevix {

namespace {

// What the old stone noted and nobody has shown yet is not lost with it.
void takeOver(std::unique_ptr<Stone>& held, std::unique_ptr<Stone> fresh) {
    if (held && fresh) fresh->addNotes(held->takeDiagnostics());
    held = std::move(fresh);
}

}  // namespace

DesignModel::DesignModel(UndoStack& undo) : undo_(undo), meetTolerance_(DEFAULT_MEET_TOLERANCE_W) {}

Stone& DesignModel::ensureStone(int symmetry, int mirror) {
    if (!state_.stone) {
        state_.stone = std::make_unique<Stone>(ROUGH_HALF);
        state_.stone->symmetry = symmetry;
        state_.stone->mirror = mirror;
    }
    return *state_.stone;
}

const DesignIntent& DesignModel::intent() {
    if (!state_.stone) {
        state_.intent.emplace();
        return *state_.intent;
    }
    state_.intent = intentOf(*state_.stone, state_.intent ? &*state_.intent : nullptr, meetTolerance_);
    return *state_.intent;
}

void DesignModel::setMeetTolerance(double share) {
    if (share == meetTolerance_) return;
    meetTolerance_ = share;
    if (!state_.intent) return;
    bool allInferred = true;
    for (const TierIntent& tier : state_.intent->tiers) allInferred = allInferred && tier.inferred;
    if (allInferred) state_.intent.reset();
}

void DesignModel::Draft::replace(Stone stone) { replace(std::make_unique<Stone>(std::move(stone))); }

void DesignModel::Draft::replace(std::unique_ptr<Stone> stone) { takeOver(model_.state_.stone, std::move(stone)); }

void DesignModel::keepSnapshot(const std::string& name, DesignState before, bool wasModified) {
    // A design changed outside the undo stack since it was saved is no
    // longer the saved state, whatever its tag says.
    if (wasModified && before.tag.state == savedState_) before.tag.state = nextTag_++;
    setModifiedFlag(true);
    undo_.push(name, std::move(before));
    state_.tag.state = nextTag_++;  // the change makes a new state
}

bool DesignModel::apply(const Edit& edit) {
    if (!state_.stone) return false;
    Batch batch(*this);
    // The design as it was: for Undo, and for a failure to put back, since
    // whatever the kernel left half done is not a design.
    DesignState before{std::make_unique<Stone>(*state_.stone), state_.intent, state_.tag};
    const bool wasModified = modified_;
    const std::function<void()> putBackAlongside = keepAlongside ? keepAlongside() : std::function<void()>();
    bool done = false;
    Draft draft(*this);
    try {
        done = edit.change(draft);
    } catch (const KernelError& error) {
        // Undo still gives back the design before the failed change.
        if (edit.keep == Keep::Snapshot)
            keepSnapshot(edit.name, DesignState{std::make_unique<Stone>(*before.stone), before.intent, before.tag},
                         wasModified);
        takeOver(state_.stone, std::move(before.stone));
        state_.intent = std::move(before.intent);
        if (putBackAlongside) putBackAlongside();
        if (onFailure) onFailure(error.what());
        announce(edit.kind, edit.sender);
        return false;
    }
    if (done && edit.keep == Keep::Snapshot)
        keepSnapshot(edit.name, std::move(before), wasModified);
    else if (done && edit.marksModified)
        setModifiedFlag(true);
    announce(edit.kind, edit.sender);
    return done;
}

void DesignModel::put(std::unique_ptr<Stone> stone) {
    takeOver(state_.stone, std::move(stone));
    announce(WholeDesign);
}

void DesignModel::put(std::unique_ptr<Stone> stone, std::optional<DesignIntent> intent) {
    Batch batch(*this);
    state_.intent = std::move(intent);
    put(std::move(stone));
}

void DesignModel::openDesign(std::unique_ptr<Stone> stone, std::optional<DesignIntent> intent) {
    Batch batch(*this);
    takeOver(state_.stone, std::move(stone));
    newLineage();
    markSaved();
    state_.intent = std::move(intent);
    announce(WholeDesign);
}

void DesignModel::newDesign(std::unique_ptr<Stone> stone, const std::string& name) {
    Batch batch(*this);
    // Undo brings the replaced design back.
    if (state_.stone)
        keepSnapshot(name, DesignState{std::make_unique<Stone>(*state_.stone), state_.intent, state_.tag}, modified_);
    takeOver(state_.stone, std::move(stone));
    // A design of its own that no file holds yet.
    newLineage();
    fileLineage_ = savedState_ = 0;
    state_.intent.reset();
    announce(WholeDesign);
}

void DesignModel::undo() {
    if (!state_.stone) return;
    Batch batch(*this);
    undo_.undo(state_);
    afterUndoOrRedo();
}

void DesignModel::redo() {
    if (!state_.stone) return;
    Batch batch(*this);
    undo_.redo(state_);
    afterUndoOrRedo();
}

void DesignModel::afterUndoOrRedo() {
    // Undo and redo change the design in hand: it is the one in its file
    // only when they arrive exactly at the state last opened or saved. (A
    // design no file holds keeps its flag: any change to it has set it.)
    if (savedState_ != 0) setModifiedFlag(state_.tag.state != savedState_);
    announce(WholeDesign);
}

void DesignModel::setModifiedFlag(bool modified) {
    const bool changed = modified_ != modified;
    modified_ = modified;
    if (modified && state_.tag.state == savedState_) state_.tag.state = nextTag_++;
    // The title's mark must not wait for the next redraw: a save to the
    // file already open redraws nothing.
    if (changed && onModifiedChanged) onModifiedChanged(modified);
}

void DesignModel::markSaved() {
    fileLineage_ = state_.tag.lineage;
    savedState_ = state_.tag.state;
}

void DesignModel::newLineage() {
    state_.tag.state = nextTag_++;
    state_.tag.lineage = nextTag_++;
}

void DesignModel::announce(DesignChanges kind, const void* sender) {
    pending_ |= kind;
    if (!pendingSender_) pendingSender_ = sender;
    if (depth_ == 0) flush();
}

void DesignModel::endBatch() {
    if (--depth_ > 0) return;
    flush();
}

void DesignModel::flush() {
    const DesignChanges kind = std::exchange(pending_, 0u);
    const void* sender = std::exchange(pendingSender_, nullptr);
    for (const Listener& listener : listeners_) listener(kind, sender);
}

}  // namespace brevix
