#pragma once
// The cutter's place in the design: which step is current, which facets are
// cut, and the moves the keys make (mark and go on, back, next tier, jump to
// a facet, start over). The stone is only read; the progress is the session's.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "assistant/cutting_progress.h"
#include "assistant/cutting_steps.h"

namespace brevix {

class AssistantSession {
public:
    // Starts on `stone` with stored progress; the facets of the progress that
    // the stone no longer has are dropped and returned. The current step is
    // the first one not yet done.
    std::vector<CutFacet> start(const Stone& stone, bool byTier, CuttingProgress stored);
    // The design changed: new steps, the progress of unchanged facets kept,
    // the current step kept on the same facet where it still exists.
    std::vector<CutFacet> designChanged(const Stone& stone);
    // One step per tier, or one per facet; stays on the same facet.
    void setByTier(const Stone& stone, bool byTier);
    bool byTier() const { return byTier_; }

    const CuttingPlan& plan() const { return plan_; }
    const CuttingProgress& progress() const { return progress_; }
    // Index of the current step; plan().steps.size() once everything is done.
    int current() const { return current_; }
    bool finished() const { return current_ >= static_cast<int>(plan_.steps.size()); }
    const CuttingStep* currentStep() const;
    const CuttingStep* nextStep() const;

    // Marks the current step's facets cut (a transfer is only passed) and
    // moves to the next step not yet done.
    void markAndNext();
    // Goes back one step; a facet step stepped back to is no longer cut.
    void back();
    // To the first step of the next tier (a transfer counts as one), marking nothing.
    void nextTier();
    // Makes the step of `facet` current; false when no step holds it.
    bool goToFacet(int32_t facet);
    void startOver();
    // The progress as merged with what another window on the design stored;
    // the current step stays where it is.
    void adoptProgress(CuttingProgress progress) { progress_ = std::move(progress); }

    bool isCut(int32_t facet) const;
    int cutCount() const { return static_cast<int>(progress_.cut.size()); }
    // "facet n of N": the place of the current step's first facet in the
    // plan (N of N when done; at a transfer, the place of the last one before it).
    int facetNumber() const;
    // "tier n of M" (at a transfer, the tier after it).
    int tierNumber() const;

private:
    bool stepDone(int step) const;
    void mark(const CuttingStep& step, bool cut);
    void rebuild(const Stone& stone);
    int firstOpenStep() const;
    int stepOfFacet(int32_t facet) const;
    void remember();

    const Stone* stone_ = nullptr;
    bool byTier_ = false;
    CuttingPlan plan_;
    CuttingProgress progress_;
    int current_ = 0;
    std::optional<CutFacet> here_;  // plane of the current step's first facet
};

}  // namespace brevix
