#pragma once
// The one document of the program: it owns the design's stone, the pending
// new facet and the ring of undo snapshots, and every command that changes
// the design goes through it. Qt-free: it talks to the user only through the
// messages sink it is given, and to the views through the update hook below.
// The core under it says nothing itself: the notes its stones gather are
// shown here, in the order they were made, before anything the document
// says after them.
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
#include "designing/cut_facet_form.h"
#include "designing/index_gear.h"
#include "designing/new_facet_info.h"
#include "designing/undo_ring.h"
#include "document/design_files.h"
#include "document/pending_facet.h"
#include "intent/intent.h"
#include "intent/recut.h"
#include "kernel/kernel_error.h"
#include "kernel/stone.h"
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
    explicit CGemDoc(MessageSink* sink) : sink_(sink) {}
    virtual ~CGemDoc();
    CGemDoc(const CGemDoc&) = delete;
    CGemDoc& operator=(const CGemDoc&) = delete;

    // ---- the design ----------------------------------------------------
    // May be null before the first command that needs a stone.
    Stone* stone() { return stone_.get(); }
    const Stone* stone() const { return stone_.get(); }
    // The stone, created as a rough block with the document's symmetry and
    // mirror when there is none yet.
    Stone& ensureStone();
    // Replaces the design (null allowed); the old one is destroyed.
    void setStone(std::unique_ptr<Stone> stone);
    // Symmetry and mirror of the document follow the stone's (after a read,
    // an undo, a reflection).
    void takeSymmetryFromStone();

    // ---- the pending new facet ---------------------------------------
    // The Cut Facet form's model; the cuts below take it.
    PendingFacet& pending() { return pending_; }
    const PendingFacet& pending() const { return pending_; }

    // ---- commands that cut ---------------------------------------------
    // Cuts the complete NewFacetInfo into the stone with its symmetry;
    // `view` is the view that asked, passed on to the view update. False
    // when the tier did not go in as asked (facets missed the stone, the cut
    // was withdrawn, nothing could be cut): the pending facet is then kept.
    bool cutNewFacets(const void* view = nullptr);
    // Edit Angle... / Index...: set, complete, and cut when complete.
    void angleCommand(double a);
    void indexCommand(double i);
    // The form's "Cut Facet" button: cut, then start a fresh pending facet.
    void cutFromForm(const void* view);

    // ---- re-cutting a tier --------------------------------------------
    // Remembers the name, instruction and place of facet's tier so that the
    // next cut can take its place, and offers the facet's notch as index.
    void prepareRecut(int32_t facet);
    // "Uncut/Recut": snapshot, then the tier is prepared and taken out (a
    // preform facet only gets "Cannot change preform").
    void uncutTier(int32_t facet, bool inPreform = false);

    // ---- index gear ----------------------------------------------------
    // Shows the Index Gear dialog starting from the given state; the state on
    // OK, nothing on Cancel.
    using GearDialogRunner = std::function<std::optional<IndexGearDialog>(const IndexGearDialog&)>;
    // Edit > Index Gear: the facets keep their planes, only their indexes change.
    void OnIndexGear(const GearDialogRunner& runDialog);
    void setIndexGear(int gear, double offset);
    // The end of a Scale: the ranking of common gears, and on Yes the gear
    // choice and the rounding of every facet to a whole notch.
    void offerIndexRounding(const GearDialogRunner& runDialog);
    // The same with the gear chosen by `chooseGear` (the window's Index Gear
    // dialog, which sets the gear itself on OK).
    void offerIndexRounding(const std::function<void()>& chooseGear);

    // ---- cutting intent (gem_doc_intent.cpp) -----------------------------
    // How each tier of the design was placed: as recorded by the cuts where
    // that still describes the planes, inferred from the planes elsewhere.
    const DesignIntent& designIntent();
    // A tier's new angle (as the cut list shows it) from Edit Tier: the
    // design is re-cut by its intent, one snapshot for all of it, after
    // `alsoChange` (the names and instructions edited with the angle) has
    // been made to it. Tiers that could not keep their intent are reported;
    // a change the tier itself cannot take is refused: false, nothing changed.
    bool recutTierAngle(int32_t facet, double shownAngle, bool takeSnapshot = true,
                        const std::function<void(Stone&)>& alsoChange = {});
    // The same for a tier named as the cut list names it ("P1"), also one
    // that later tiers cut away entirely: a new angle may bring it back.
    // One command with its own snapshot; false when there is no such tier.
    bool changeTierAngle(const std::string& tier, double shownAngle);
    // The intent recorded so far (none: inferred on first use), and the
    // intent of each undo snapshot, slot by slot.
    std::optional<DesignIntent> recordedIntent;
    std::array<std::optional<DesignIntent>, UndoRing::SIZE> intentRing;
    // How far (a share of W) a plane may miss a meet of earlier facets and
    // still be taken as cut to it, for designs that kept no intent.
    double meetTolerance() const { return meetTolerance_; }
    // An intent inferred throughout is inferred anew with the new tolerance;
    // what the cuts recorded stays.
    void setMeetTolerance(double share);

    // ---- dragging a tier (gem_doc_drag.cpp) -----------------------------
    // A drag changes one tier's angle or depth step by step. Every step
    // re-cuts by intent from the design as it was when the drag began, so
    // steps leave no drift and a tier cut away at one step is back at the
    // next; the views follow each step, and the whole drag is one Undo.
    // False when the facet's tier has no intent to re-cut by.
    bool beginTierDrag(int32_t facet);
    bool dragging() const { return drag_.has_value(); }
    // The tier being dragged (its place in the intent) and its values at the start.
    int32_t dragTier() const;
    const TierIntent* dragStartTier() const;
    // One step: the angle as the cut list shows it, or the centre-to-facet
    // distance. False when nothing could be re-cut, or the tier cannot take
    // the step (the design then stays at the last step it could).
    bool dragTierAngle(double shownAngle);
    bool dragTierDepth(double ced);
    // Why the last step could not keep every tier's intent (none: it could).
    const std::vector<std::string>& dragProblems() const { return dragProblems_; }
    // The end of the drag; the last step's problems are told once.
    void endTierDrag();
    // A design re-cut elsewhere (a goal) becomes the design, one snapshot;
    // a refused one is only told (false).
    bool takeRecut(RecutResult cut);

    // ---- undo ring -----------------------------------------------------
    UndoRing undoRing;
    void saveUndo();
    // Undo may bring back the design an open or a New replaced; the
    // document is then modified, and File Save does not put that design
    // over the file that was opened without asking (see OnFileSave).
    void undo();
    void redo();
    // The design in hand comes from the file at files().filePath (as opened
    // or last saved), with any changes made since; false for a design that undo
    // brought back from before the open.
    bool designFromFile() const { return current_.lineage == fileLineage_; }
    // The stone was just replaced by a design read from files().filePath.
    void designOpened();

    // ---- cached summary values (status bar) ----------------------------
    int32_t facetCount = 0;   // nFacet - nRough
    int32_t girdleCount = 0;  // nGirdle
    double lengthWidth = -1;  // lengthToWidth; -1 when undefined
    // Copies the values above from the stone (no stone: 0 facets, -1).
    void refreshSummaryValues();

    // Changed since the last save (or open, or New). Undo and Redo that
    // bring back the state the design was saved in bring back "unchanged".
    bool isModified() const { return modified_; }
    // true: changed in a way no undo snapshot records, so no Undo or Redo
    // brings back the saved state. false: the design is as last saved.
    void setModifiedFlag(bool modified = true);

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

    // ---- one command ---------------------------------------------------
    // Every command that changes the design is one transaction: the undo
    // snapshot, the change, on a kernel failure the stone (and the pending
    // facet) put back as they were and the failure shown, and the change
    // announced to the form and the views once, when the outermost command
    // ends. Commands nest (the form's Cut Facet is a cut and then a fresh
    // pending facet) and the views still hear of it once.
    class Command {
    public:
        explicit Command(CGemDoc& doc);
        ~Command();
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;

    private:
        CGemDoc& doc_;
    };
    // Take: the undo snapshot is saved first. Kept: the ring already holds
    // the state Undo should give back (a re-cut took it when the tier was
    // taken out; a tier edit takes it only when something changes).
    enum class Snapshot { Take, Kept };
    // Runs `change` on the stone as one command; false when there is no
    // stone or the kernel failed (the design is then as it was before).
    bool changeStone(const std::function<void(Stone&)>& change, Snapshot snapshot = Snapshot::Take,
                     const void* view = nullptr);
    // The summary values, the form and the views follow the design: at once
    // outside a command, once at its end inside one.
    void designChanged(const void* view = nullptr);
    bool inCommand() const { return commandDepth_ > 0; }

    // ---- views ---------------------------------------------------------
    // The GUI installs these; the document calls them after every change,
    // once a command. `sender` is the view that asked for the change (null:
    // none).
    std::function<void(const void* sender)> onUpdateAllViews;
    std::function<void()> onRedrawForm;
    void updateAllViews(const void* sender = nullptr);
    void redrawForm();

    // ---- files ----------------------------------------------------------
    // Open, save, export and what the design's file is.
    DesignFiles& files() { return files_; }
    const DesignFiles& files() const { return files_; }
    // A new design of its own that no file holds yet (File New).
    void designCreated();
    // The file at the files' path now holds the design in hand as it is.
    void markSaved();

    // ---- summary and status bar (gem_doc_status.cpp) -------------------
    // The stone (a rough one when there is none) and the cached values.
    void refreshSummary();
    // Status-bar panes 103 (facets), 104 (L/W) and 105 (RI).
    std::string facetCountText();
    std::string lengthWidthText();
    std::string refractiveIndexText() const;

    // ---- preform menu and View Hidden Lines (preform_commands.cpp) ------
    void OnPreformDelete();
    void OnPreformCreateCam();
    void OnCopyToPreform();
    void OnPreformEdit();
    bool preformEditChecked() const { return hiddenDesign != nullptr; }
    std::unique_ptr<Stone> hiddenDesign;  // the design set aside while its preform is edited
    void OnHiddenLines();
    bool hiddenLines = false;

private:
    MessageSink* sink_ = nullptr;
    StderrSink standardError_;
    // Adds the tier just cut (the last `made` facets) to the recorded
    // intent, with what fixed its depth; `before` is the stone before the cut.
    void recordCut(const Stone& before, const DesignIntent& beforeIntent, int made);

    // Names, instructs and places the re-cut tier whose first facet is
    // `firstNew` as the tier it replaces was.
    void putRecutBack(int32_t firstNew);
    void afterUndoOrRedo();
    void endCommand();

    int commandDepth_ = 0;
    bool viewsPending_ = false;
    bool formPending_ = false;
    const void* pendingSender_ = nullptr;

    // Which state of which design the stone (and each undo slot) is: a new
    // state id with every snapshot, a new lineage with every open and New.
    // An empty slot (a fresh rough stone) is {0, 0}.
    struct StateTag {
        uint64_t state = 0;
        uint64_t lineage = 0;
    };
    // The stone becomes a design of its own (opened, new): nothing before it
    // in the undo ring is this design any more.
    void startLineage();

    struct TierDrag {
        Stone start;
        DesignIntent intent;
        int32_t tier = -1;
        bool snapshotTaken = false;
    };
    bool dragStep(const TierChange& change);
    std::optional<TierDrag> drag_;
    std::vector<std::string> dragProblems_;
    double meetTolerance_ = DEFAULT_MEET_TOLERANCE_W;
    // Edit Tier's re-cut of a tier by its place in the intent (see recutTierAngle).
    bool recutIntentTier(int32_t tier, double shownAngle, bool takeSnapshot,
                         const std::function<void(Stone&)>& alsoChange = {});

    std::unique_ptr<Stone> stone_;
    PendingFacet pending_{*this};
    DesignFiles files_{*this};
    bool modified_ = false;
    uint64_t nextTag_ = 1;
    StateTag current_;
    std::array<StateTag, UndoRing::SIZE> slotTags_{};
    uint64_t fileLineage_ = 0;  // the lineage the file at filePath holds
    uint64_t savedState_ = 0;   // the state it holds; 0 when none
};

}  // namespace brevix
