#pragma once
// The document: it owns the design (its model and its undo stack), the
// pending new facet, what the window shows of both (worked out once per
// change) and the file side, and hands them out. Qt-free: it talks to the
// user only through the messages sink it is given, and to the views through
// the one change hook below. The core under it says nothing itself: the
// notes its stones gather are shown here, in the order they were made,
// before anything the document says after them.
//
// The commands that work on it through these parts are free functions
// beside it: cut_commands.h (Angle, Index, Cut Facet), stone_commands.h
// (Transfer, Rotate, Sort...), index_gear_commands.h, preform_commands.h,
// tier_edit.h, and status_texts.h for the status bar.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "design/real_size.h"
#include "facet_placement/cut_facet_form.h"
#include "facet_placement/index_gear.h"
#include "facet_placement/new_facet_info.h"
#include "document/design_files.h"
#include "document/design_model.h"
#include "document/pending_facet.h"
#include "document/tier_drag.h"
#include "document/undo_stack.h"
#include "intent/intent.h"
#include "intent/recut.h"
#include "kernel/kernel_error.h"
#include "kernel/stone.h"
#include "live/live_design.h"
#include "platform/busy_cursor.h"
#include "platform/diagnostics.h"
#include "platform/file_stamp.h"
#include "platform/messages.h"

namespace brevix {

class DocumentUi;

// The document: owns the design model, the pending facet, undo and the files.
class CGemDoc {
public:
    CGemDoc();
    // A document that shows through `sink` from the start (see setSink).
    explicit CGemDoc(MessageSink* sink);
    virtual ~CGemDoc();
    CGemDoc(const CGemDoc&) = delete;
    CGemDoc& operator=(const CGemDoc&) = delete;

    // ---- the parts -------------------------------------------------------
    // The design: every change to it goes through model().apply.
    DesignModel& model() { return model_; }
    const DesignModel& model() const { return model_; }
    const UndoStack& undoStack() const { return undo_; }
    // The Cut Facet form's model; the cuts below take it.
    PendingFacet& pending() { return pending_; }
    const PendingFacet& pending() const { return pending_; }
    // Open, save, export and what the design's file is.
    DesignFiles& files() { return files_; }
    const DesignFiles& files() const { return files_; }

    // ---- the design ----------------------------------------------------
    // May be null before the first command that needs a stone.
    Stone* stone() { return model_.stone(); }
    const Stone* stone() const { return model_.stone(); }
    // The stone, created as a rough block with the document's symmetry and
    // mirror when there is none yet.
    Stone& ensureStone();
    // Symmetry and mirror of the document follow the stone's (after a read,
    // an undo, a reflection).
    void takeSymmetryFromStone();

    // ---- commands that cut ---------------------------------------------
    // Cuts the complete NewFacetInfo into the stone with its symmetry;
    // `view` is the view that asked, passed on to the view update. False
    // when the tier did not go in as asked (facets missed the stone, the cut
    // was withdrawn, nothing could be cut): the pending facet is then kept.
    bool cutNewFacets(const void* view = nullptr);

    // ---- re-cutting a tier --------------------------------------------
    // Remembers the name, instruction and place of facet's tier so that the
    // next cut can take its place, and offers the facet's notch as index.
    void prepareRecut(int32_t facet);
    // "Uncut/Recut": snapshot, then the tier is prepared and taken out (a
    // preform facet only gets "Cannot change preform").
    void uncutTier(int32_t facet, bool inPreform = false);

    // ---- cutting intent (gem_doc_intent.cpp) -----------------------------
    // A tier's new angle (as the cut list shows it) from Edit Tier: the
    // design is re-cut by its intent, one undo entry ("Edit Tier P1") for
    // all of it, after `alsoChange` (the names and instructions edited with the
    // angle) has been made to it. Tiers that could not keep their intent are
    // reported; a change the tier itself cannot take is refused: false,
    // nothing changed.
    bool recutTierAngle(int32_t facet, double shownAngle, const std::function<void(Stone&)>& alsoChange = {});
    // The same for a tier named as the cut list names it ("P1"), also one
    // that later tiers cut away entirely: a new angle may bring it back.
    // False when there is no such tier.
    bool changeTierAngle(const std::string& tier, double shownAngle);

    // The Design Figures pane's drag of a tier's angle or depth.
    TierDrag& drag() { return drag_; }
    const TierDrag& drag() const { return drag_; }
    // A design re-cut elsewhere (a goal) becomes the design as the change
    // `name`; a refused one is only told (false).
    bool takeRecut(RecutResult cut, const std::string& name);

    // ---- undo ------------------------------------------------------------
    // Undo may bring back the design an open or a New replaced; the
    // document is then modified, and File Save does not put that design
    // over the file that was opened without asking (see OnFileSave). The
    // pending facet starts afresh.
    void undo();
    void redo();

    // ---- cached summary values (status bar) ----------------------------
    // Follow the design at every change (no stone: 0 facets, -1).
    int32_t facetCount = 0;   // nFacet - nRough
    int32_t girdleCount = 0;  // nGirdle
    double lengthWidth = -1;  // lengthToWidth; -1 when undefined
    // The stone (a rough one when there is none) and the values above.
    void refreshSummary();

    // The window's wait cursor around long work; none in the batch run.
    BusyIndicator* busyIndicator = nullptr;

    // ---- messages ------------------------------------------------------
    // The window's message boxes, the batch run's standard error, a test's
    // recorder; owned by whoever gives it. Without one, messages go to
    // standard error. The document shows only through this sink.
    // Gives back the sink it replaces (null: standard error).
    MessageSink* setSink(MessageSink* sink) { return std::exchange(sink_, sink); }
    MessageSink& sink();
    // Shows what the stones noted so far, then `text`.
    void say(std::string_view text, Icon icon = Icon::Warning);
    Answer ask(std::string_view text, Buttons buttons, Icon icon = Icon::Question,
               Answer fallback = Answer::Yes);
    // Shows what the operations on the stones noted (the kernel's internal
    // warnings, a reader's complaints) and forgets it.
    void showNotes();
    void showNotes(const Diagnostics& notes);
    // What a reader of the design had to say (listing the indexes of a
    // design without a gear, say), shown first at the next showNotes().
    void keepNotes(Diagnostics notes) { readerNotes_.append(std::move(notes)); }

    // ---- what the window shows -------------------------------------------
    // The window's one hook: told once per change of the design or the
    // pending facet (once a batch), after the summary values have followed
    // it. `sender` is the view that asked for the change (null: none).
    std::function<void(DesignChanges kind, const void* sender)> onDesignChanged;
    // The pending facet (or a mode) changed beside the design: the form and
    // the views follow.
    void pendingChanged(const void* sender = nullptr) { model_.announce(PendingChanged, sender); }
    // Figures, warnings and the pending facet's preview of the design as it
    // is, worked out at the first read after a change.
    const LiveDesign& live();
    // How often live() has been worked out (for tests that count the work a change causes).
    int liveComputations() const { return liveComputations_; }

    // ---- what the views show beside the design (preform_commands.h) ----
    std::unique_ptr<Stone> hiddenDesign;  // the design set aside while its preform is edited
    bool hiddenLines = false;

private:
    MessageSink* sink_ = nullptr;
    StderrSink standardError_;
    Diagnostics readerNotes_;
    // Adds the tier just cut (the last `made` facets) to the recorded
    // intent, with what fixed its depth; `before` is the stone before the cut.
    void recordCut(DesignModel::Draft& draft, const Stone& before, const DesignIntent& beforeIntent, int made);

    // Names, instructs and places the re-cut tier whose first facet is
    // `firstNew` as the tier it replaces was.
    void putRecutBack(Stone& stone, int32_t firstNew);
    void afterUndoOrRedo();
    // The summary values follow the design; notes are shown; the window hears.
    void designChanged(DesignChanges kind, const void* sender);
    void refreshSummaryValues();

    UndoStack undo_;
    DesignModel model_{undo_};
    PendingFacet pending_{*this};
    DesignFiles files_{*this};
    std::optional<LiveDesign> live_;
    int liveComputations_ = 0;

    TierDrag drag_{*this};
    // Edit Tier's re-cut of a tier by its place in the intent (see recutTierAngle).
    bool recutIntentTier(int32_t tier, double shownAngle, const std::string& name,
                         const std::function<void(Stone&)>& alsoChange = {});
};

}  // namespace brevix
