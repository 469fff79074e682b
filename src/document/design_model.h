#pragma once
// The design in hand: the stone, how its tiers were meant to be cut, and
// which state of which design it is. Every change to it goes through
// apply(), which keeps the state before it for Undo, puts everything back
// when the kernel fails half way, and tells the listeners once, also when
// changes nest (the form's Cut Facet is a cut and then a fresh pending
// facet). Qt-free: listeners are plain functions.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/undo_stack.h"
#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

// What a change touched, so that a listener does only the work it needs.
enum DesignChange : unsigned {
    GeometryChanged = 1u << 0,  // planes, facets: figures and pictures are stale
    NamesChanged = 1u << 1,     // names, instructions, order, headings only
    WholeDesign = 1u << 2,      // another design: opened, New, undo, redo, replay
    SettingsChanged = 1u << 3,  // gear, symmetry, refractive index, modes
    PendingChanged = 1u << 4,   // the pending facet (the form, the preview)
};
using DesignChanges = unsigned;

class DesignModel {
public:
    // The design is kept in `undo` before each change that asks for it.
    explicit DesignModel(UndoStack& undo);
    DesignModel(const DesignModel&) = delete;
    DesignModel& operator=(const DesignModel&) = delete;

    // May be null before the first change. Readers only: changes go through apply.
    Stone* stone() { return state_.stone.get(); }
    const Stone* stone() const { return state_.stone.get(); }
    // The stone, a rough block of the given symmetry when there is none yet.
    Stone& ensureStone(int symmetry, int mirror);
    // The intent the cuts recorded (none: inferred on first use).
    const std::optional<DesignIntent>& recordedIntent() const { return state_.intent; }
    // How each tier of the design was placed: as recorded where that still
    // describes the planes, inferred from the planes elsewhere; settled
    // into the recorded intent.
    const DesignIntent& intent();
    // How far (a share of W) a plane may miss a meet of earlier facets and
    // still be taken as cut to it, for designs that kept no intent. An
    // intent inferred throughout is inferred anew with a new tolerance.
    double meetTolerance() const { return meetTolerance_; }
    void setMeetTolerance(double share);

    // What a change may do to the design.
    class Draft {
    public:
        Stone& stone() { return *model_.state_.stone; }
        // The whole design replaced (a re-cut, an optimised design, a file
        // read); what the old stone noted and nobody showed goes with it.
        void replace(Stone stone);
        void replace(std::unique_ptr<Stone> stone);
        std::optional<DesignIntent>& intent() { return model_.state_.intent; }
        // The design as held (the preform switch exchanges it with the stone set aside).
        std::unique_ptr<Stone>& held() { return model_.state_.stone; }

    private:
        friend class DesignModel;
        explicit Draft(DesignModel& model) : model_(model) {}
        DesignModel& model_;
    };
    enum class Keep {
        Snapshot,  // the design before the change becomes an undo entry
        None,      // undo keeps nothing (an earlier change kept what Undo gives back)
    };
    struct Edit {
        std::string name;  // the undo entry's name ("Edit Tier P1")
        DesignChanges kind = GeometryChanged;
        // Returns false when it changed nothing after all (a refused
        // re-cut, an edit that left every field as it was): no entry is kept.
        std::function<bool(Draft&)> change;
        Keep keep = Keep::Snapshot;
        // The design then differs from its file although no entry was kept.
        bool marksModified = false;
        const void* sender = nullptr;  // the view that asked (none: null)
    };
    // Makes the change as one transaction. False when there was no stone,
    // the change reported nothing done, or the kernel failed (the design,
    // its intent and whatever keepAlongside keeps are then as before).
    bool apply(const Edit& edit);
    // The design replaced as it is, with no undo entry and no new state:
    // a replay's steps and its end, a program setting up its design. The
    // intent stays unless one is given.
    void put(std::unique_ptr<Stone> stone);
    void put(std::unique_ptr<Stone> stone, std::optional<DesignIntent> intent);
    // A design read from a file (or a database member) becomes the design,
    // as the file holds it.
    void openDesign(std::unique_ptr<Stone> stone, std::optional<DesignIntent> intent);
    // A new design no file holds; Undo brings back the one it replaced.
    void newDesign(std::unique_ptr<Stone> stone, const std::string& name);

    // Undo and Redo: the state before (after) the change named by the undo
    // stack. The design is modified unless that is the state last saved.
    void undo();
    void redo();

    // Changed since the last save (or open, or New). True: changed in a way
    // no undo entry records, so no Undo or Redo brings back the saved state.
    bool isModified() const { return modified_; }
    void setModifiedFlag(bool modified = true);
    std::function<void(bool modified)> onModifiedChanged;
    // The file now holds the design as it is; the design came from a file
    // (false for one that undo brought back from before the open).
    void markSaved();
    bool designFromFile() const { return state_.tag.lineage == fileLineage_; }

    // Changes made while a Batch is open are told once, when the outermost ends.
    class Batch {
    public:
        explicit Batch(DesignModel& model) : model_(model) { ++model_.depth_; }
        ~Batch() { model_.endBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        DesignModel& model_;
    };
    bool inBatch() const { return depth_ > 0; }
    // Tells the listeners of a change made beside the design (the pending
    // facet, a mode): at once, or at the end of the open batch.
    void announce(DesignChanges kind, const void* sender = nullptr);
    // Told at the end of every change or batch; `kind` 0: a batch ended
    // that changed nothing.
    using Listener = std::function<void(DesignChanges kind, const void* sender)>;
    void addListener(Listener listener) { listeners_.push_back(std::move(listener)); }

    // What lives beside the design and a failed change must put back too
    // (the pending facet): called before each change, it returns what
    // puts it back.
    std::function<std::function<void()>()> keepAlongside;
    // Tells the user why a change failed (the kernel's text).
    std::function<void(std::string_view failure)> onFailure;

private:
    void keepSnapshot(const std::string& name, DesignState before, bool wasModified);
    void afterUndoOrRedo();
    void endBatch();
    void flush();
    void newLineage();

    UndoStack& undo_;
    DesignState state_;
    double meetTolerance_;
    bool modified_ = false;
    uint64_t nextTag_ = 1;
    uint64_t fileLineage_ = 0;  // the lineage the file holds
    uint64_t savedState_ = 0;   // the state it holds; 0 when none
    int depth_ = 0;
    DesignChanges pending_ = 0;
    const void* pendingSender_ = nullptr;
    std::vector<Listener> listeners_;
};

}  // namespace brevix
