// The designing side of the document: the pending facet, cutting it with
// its symmetry, the undo ring and the summary the status bar shows.
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
#include "designing/symmetric_point.h"
#include "designing/point_solvers.h"
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
        stone_->symmetry = info.symmetry;
        stone_->mirror = info.mirror;
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
    if (changed && ui) ui->modifiedChanged(modified);
}

void CGemDoc::takeSymmetryFromStone() {
    if (!stone_) return;
    info.symmetry = stone_->symmetry;
    info.mirror = stone_->mirror;
}

// ---- the pending new facet ---------------------------------------------

void CGemDoc::setAngle(double a, bool trim) {
    setInfoAngle(info, a, trim, stone_ ? stone_->gear : 96);
}

void CGemDoc::setIndex(double i, bool trim) { setInfoIndex(info, i, trim); }

void CGemDoc::setCed(double d, bool trim) { setInfoCed(info, d, trim); }

void CGemDoc::setSymmetry(int s, int m) {
    info.symmetry = s;
    info.mirror = m;
    if (stone_) {
        stone_->symmetry = s;
        stone_->mirror = m;
    }
    redrawForm();
    updateAllViews();
}

void CGemDoc::addPoint(Vec3 p) {
    Diagnostics notes;
    addInfoPoint(info, p, notes);
    showNotes(notes);
}

void CGemDoc::clearInfo() {
    brevix::clearInfo(info);
    angleFromPoints_ = indexFromPoints_ = defaultDepth_ = false;
}

void CGemDoc::useBetweenPoint(Vec3 p) {
    forgetSolvedValues(info);
    info.nPoints = 0;
    addPoint(p);
    redrawForm();
    updateAllViews();
}

void CGemDoc::resetSymmetry() {
    info.symmetry = 8;
    info.mirror = 1;
}

// ---- cutting -----------------------------------------------------------

bool CGemDoc::cutNewFacets(const void* view) {
    if (!info.complete()) return false;
    Stone& stone = ensureStone();
    // Every azimuth divides by the gear, and a plane through the centre has
    // no outward side: neither can be cut, so nothing is touched.
    if (stone.gear == 0) {
        say("Zero index gear");
        return false;
    }
    if (std::fabs(info.ced) < EPS) {
        say("New facet cuts through center of stone");
        return false;
    }
    if (depthBeyondCentre(info) &&
        ask(strprintf("The point gives the new facet a negative depth (%.4f): it would lie beyond the centre "
                      "of the stone and cut most of it away.\nCut it anyway?",
                      info.ced),
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
            counts = cutFacetSet(s, info);
            if (counts.missed == 0 && counts.made > 0) recordCut(beforeCut, beforeIntent, counts.made);
            if (counts.missed > 0) {
                say(strprintf("%d new facet%s missed stone", counts.missed, counts.missed > 1 ? "s" : ""));
                done = false;  // the cutter corrects one value and cuts again
            } else if (info.recutPending) {
                // The new facets are the last ones. Counting them from the end
                // rather than trusting recutFirstFacet keeps the right facets
                // when the cut also removed older facets or rough faces.
                putRecutBack(s.nFacet - counts.made);
            }
        },
        info.recutPending ? Snapshot::Kept : Snapshot::Take, view);
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
                const NewFacetInfo typed = info;
                undo();
                if (!typed.recutPending) info = typed;
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
        const int32_t named = nearestInTier(stone, firstNew, info.recutIndex);
        stone.setFacetName(named, info.recutName);
        setTierInstruction(stone, firstNew, info.recutInstruction);
        moveFacets(stone, firstNew, std::min(info.recutPlace, firstNew));
    }
    clearRecut(info);
}

void CGemDoc::prepareRecut(int32_t facet) {
    Stone& stone = *stone_;
    info.recutIndex = 0;
    info.recutName = tierName(stone, facet, &info.recutIndex);
    info.recutInstruction = tierInstruction(stone, facet);
    info.recutPending = true;
    if (!info.hasIndex) {
        Diagnostics said;
        setIndex(std::round(stone.facetIndexOf(facet, said)), false);
        stone.addNotes(std::move(said));
    }
    info.recutPlace = firstFacetOfTier(stone, facet);
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
        info.recutFirstFacet = stone.nFacet;
    });
}

void CGemDoc::cutFromForm(const void* view) {
    Command command(*this);
    if (cutNewFacets(view)) clearInfo();
    redrawForm();
    updateAllViews(view);
}

void CGemDoc::angleCommand(double a) {
    Command command(*this);
    setAngle(a, false);
    if (completeInfo() && cutNewFacets()) clearInfo();
    redrawForm();
    updateAllViews();
}

void CGemDoc::indexCommand(double i) {
    Command command(*this);
    setIndex(i, false);
    if (completeInfo() && cutNewFacets()) clearInfo();
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

// ---- the Cut Facet form ------------------------------------------------

std::string CGemDoc::angleFieldEdited(std::string_view text) {
    Diagnostics notes;
    const std::optional<double> angle = readAngleField(text, notes);
    showNotes(notes);
    if (!angle) {
        info.hasAngle = false;
        return {};
    }
    setAngle(*angle, true);
    angleFromPoints_ = false;
    return angleFieldText(*angle);
}

std::string CGemDoc::indexFieldEdited(std::string_view text) {
    const std::optional<double> index = scanDouble(text);
    if (!index) {
        info.hasIndex = false;
        return {};
    }
    setIndex(*index, true);
    indexFromPoints_ = false;
    return indexFieldText(*index);
}

std::string CGemDoc::cedFieldEdited(std::string_view text) {
    const std::optional<double> ced = scanDouble(text);
    if (!ced) {
        info.hasCed = false;
        return {};
    }
    setCed(*ced, true);
    defaultDepth_ = false;
    return cedFieldText(*ced);
}

void CGemDoc::pointsFieldEdited(std::string_view text) {
    forgetSolvedValues(info);
    info.nPoints = 0;
    for (const Vec3& p : readPointsField(text)) addPoint(p);
}

std::string CGemDoc::symmetryFieldEdited(std::string_view text, bool mirrorChecked) {
    Diagnostics notes;
    const std::optional<int> symmetry = readSymmetryField(text, notes);
    showNotes(notes);
    if (!symmetry) {
        resetSymmetry();
        return {};
    }
    setSymmetry(*symmetry, mirrorChecked ? 1 : 0);
    return symmetryFieldText(*symmetry);
}

void CGemDoc::mirrorToggled(bool checked) { setSymmetry(info.symmetry, checked ? 1 : 0); }

CutFacetFormTexts CGemDoc::formTexts() {
    const bool complete = completeInfo();
    return cutFacetFormTexts(info, complete);
}

// ---- solving from points -----------------------------------------------

bool CGemDoc::completeInfo() {
    Diagnostics notes;
    const bool complete = solveInfo(notes);
    showNotes(notes);
    return complete;
}

bool CGemDoc::solveInfo(Diagnostics& notes) {
    Stone& stone = ensureStone();
    if (stone.nFacet - stone.nRough == 0 && info.nPoints == 0 && !info.hasCed && info.hasAngle &&
        info.hasIndex) {
        // The first facet of a rough block has nothing to meet: a girdle
        // outline touching the unit circle, anything else a fixed depth.
        double ced = 0.7;
        if (std::fabs(std::fabs(info.angle) - 90) < EPS) {
            ced = 1.0;
            if (info.symmetry == 3 || info.symmetry > 4) ced = std::cos(PI / info.symmetry);
        }
        setCed(ced, false);
        defaultDepth_ = true;
        return true;
    }
    // Azimuths divide by the gear; with none there is nothing to solve.
    if (stone.gear == 0) return info.complete();

    switch (info.nPoints) {
    case 0:
        return info.complete();
    case 1:
        if (info.hasAngle && info.hasIndex) {
            // A point picked at another facet's place in the tier stands for
            // its image at the base facet, which the cut then records.
            info.points[0] = pointAtBaseFacet(stone, info, info.points[0]);
            setCed(cedThroughPoint(info, stone, notes), false);
            info.solvedCed = true;
            return true;
        }
        if (info.hasIndex && info.hasCed) {
            setAngle(angleThroughPoint(info, stone, notes), false);
            info.solvedAngle = true;
            return true;
        }
        return false;
    case 2: {
        if (info.hasIndex) {
            const PlaneSolution plane = planeThrough2PointsAtIndex(info, stone, notes);
            if (plane.d == 0) return false;
            setAngle(plane.angle, false);
            info.solvedAngle = true;
            setCed(plane.d, false);
            info.solvedCed = true;
            angleFromPoints_ = true;
            return true;
        }
        if (!info.hasAngle) return false;
        if (std::fabs(std::fabs(info.angle) - 90) > 1.0) {
            const PlaneSolution plane = planeThrough2PointsAtAngle(info, stone, notes);
            if (plane.d == 0) return false;
            setIndex(plane.index, false);
            info.solvedIndex = true;
            setCed(plane.d, false);
            info.solvedCed = true;
            indexFromPoints_ = true;
            return true;
        }
        // A vertical facet through two points: the plane that also holds the
        // vertical through their midpoint, turned to the nearest notch.
        const Vec3 mid = (info.points[0] + info.points[1]) * 0.5;
        const PlaneSolution plane =
            planeThrough3Points(info.points[0], info.points[1], mid + Vec3{0, 0, 1.0}, stone, notes);
        if (plane.d == 0) return false;
        setAngle(plane.angle, false);
        info.solvedAngle = true;
        setIndex(std::trunc(plane.index + 0.5), false);
        info.solvedIndex = true;
        setCed(plane.d, false);
        info.solvedCed = true;
        info.points[0] = mid;
        info.nPoints = 1;
        return true;
    }
    case 3: {
        const PlaneSolution plane =
            planeThrough3Points(info.points[0], info.points[1], info.points[2], stone, notes);
        if (plane.d == 0) return false;
        setAngle(plane.angle, false);
        info.solvedAngle = true;
        setIndex(plane.index, false);
        info.solvedIndex = true;
        setCed(plane.d, false);
        info.solvedCed = true;
        angleFromPoints_ = indexFromPoints_ = true;
        return true;
    }
    default:
        return false;
    }
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
    fileStamp_.reset();
    startLineage();
    markSaved();
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
    clearInfo();
    clearRecut(info);
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
    const NewFacetInfo pending = info;
    const std::optional<DesignIntent> intent = recordedIntent;
    if (snapshot == Snapshot::Take) saveUndo();
    bool done = true;
    try {
        change(*stone_);
    } catch (const KernelError& error) {
        setStone(std::move(before));
        info = pending;
        recordedIntent = intent;
        say(error.what(), Icon::Error);
        done = false;
    }
    designChanged(view);
    return done;
}

}  // namespace brevix
