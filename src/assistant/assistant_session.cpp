#include "assistant/assistant_session.h"

#include <cstdio>
#include <optional>

namespace brevix {

std::vector<CutFacet> AssistantSession::start(const Stone& stone, bool byTier, CuttingProgress stored) {
    byTier_ = byTier;
    progress_ = std::move(stored);
    std::vector<CutFacet> reset = keepFacetsOf(progress_, stone);
    rebuild(stone);
    current_ = firstOpenStep();
    remember();
    return reset;
}

std::vector<CutFacet> AssistantSession::designChanged(const Stone& stone) {
    // The stone may have been changed in place: the current facet is found
    // again by the plane remembered when it became current.
    const std::optional<CutFacet> anchor = here_;
    std::vector<CutFacet> reset = keepFacetsOf(progress_, stone);
    rebuild(stone);
    current_ = firstOpenStep();
    if (anchor) {
        CuttingProgress probe;
        probe.cut.push_back(*anchor);
        for (int32_t i = 0; i < stone.nFacet; ++i)
            if (!stone.facets[i].isRough() && findCut(probe, stone, i) == 0) {
                if (const int step = stepOfFacet(i); step >= 0) current_ = step;
                break;
            }
    }
    remember();
    return reset;
}

void AssistantSession::remember() {
    here_.reset();
    const CuttingStep* step = currentStep();
    if (!stone_ || !step || step->facets.empty()) return;
    const Facet& f = stone_->facets[step->facets[0]];
    here_ = CutFacet{f.a, f.b, f.c, f.d, {}, {}, {}};
}

void AssistantSession::setByTier(const Stone& stone, bool byTier) {
    const CuttingStep* step = currentStep();
    const bool atTransfer = step && step->kind == StepKind::Transfer;
    const int32_t facet = step && !step->facets.empty() ? step->facets[0] : -1;
    const int transferAt = current_;
    int transfersBefore = 0;
    for (int i = 0; i < transferAt && i < static_cast<int>(plan_.steps.size()); ++i)
        if (plan_.steps[i].kind == StepKind::Transfer) ++transfersBefore;
    byTier_ = byTier;
    rebuild(stone);
    if (facet >= 0) {
        current_ = stepOfFacet(facet);
    } else if (atTransfer) {
        int seen = 0;
        for (int i = 0; i < static_cast<int>(plan_.steps.size()); ++i)
            if (plan_.steps[i].kind == StepKind::Transfer && seen++ == transfersBefore) current_ = i;
    } else {
        current_ = static_cast<int>(plan_.steps.size());
    }
    if (current_ < 0) current_ = firstOpenStep();
    remember();
}

void AssistantSession::rebuild(const Stone& stone) {
    stone_ = &stone;
    plan_ = cuttingPlan(stone, byTier_);
}

const CuttingStep* AssistantSession::currentStep() const {
    return finished() || current_ < 0 ? nullptr : &plan_.steps[current_];
}

const CuttingStep* AssistantSession::nextStep() const {
    const int next = current_ + 1;
    return next < static_cast<int>(plan_.steps.size()) ? &plan_.steps[next] : nullptr;
}

bool AssistantSession::isCut(int32_t facet) const {
    return stone_ && findCut(progress_, *stone_, facet) >= 0;
}

bool AssistantSession::stepDone(int step) const {
    const CuttingStep& s = plan_.steps[step];
    if (s.kind == StepKind::Transfer) {
        // Passed once anything beyond it is cut.
        for (size_t j = step + 1; j < plan_.steps.size(); ++j)
            for (int32_t f : plan_.steps[j].facets)
                if (isCut(f)) return true;
        return false;
    }
    for (int32_t f : s.facets)
        if (!isCut(f)) return false;
    return true;
}

int AssistantSession::firstOpenStep() const {
    const int n = static_cast<int>(plan_.steps.size());
    for (int i = 0; i < n; ++i)
        if (!stepDone(i)) return i;
    return n;
}

int AssistantSession::stepOfFacet(int32_t facet) const {
    for (size_t i = 0; i < plan_.steps.size(); ++i)
        for (int32_t f : plan_.steps[i].facets)
            if (f == facet) return static_cast<int>(i);
    return -1;
}

void AssistantSession::mark(const CuttingStep& step, bool cut) {
    if (!stone_) return;
    for (size_t k = 0; k < step.facets.size(); ++k) {
        const int32_t facet = step.facets[k];
        const int found = findCut(progress_, *stone_, facet);
        if (cut && found < 0) {
            const Facet& f = stone_->facets[facet];
            char angle[32];
            std::snprintf(angle, sizeof angle, "%.2f", step.angle);
            progress_.cut.push_back({f.a, f.b, f.c, f.d, step.tierName, angle, step.indexTexts[k]});
        } else if (!cut && found >= 0) {
            progress_.cut.erase(progress_.cut.begin() + found);
        }
    }
}

void AssistantSession::markAndNext() {
    if (finished()) return;
    mark(plan_.steps[current_], true);
    const int n = static_cast<int>(plan_.steps.size());
    ++current_;
    while (current_ < n && stepDone(current_)) ++current_;
    // A facet marked out of order (after a click) leads back to the work
    // still open before it rather than to the end.
    if (current_ >= n) current_ = firstOpenStep();
    remember();
}

void AssistantSession::back() {
    if (current_ <= 0) return;
    --current_;
    mark(plan_.steps[current_], false);
    remember();
}

void AssistantSession::nextTier() {
    const int n = static_cast<int>(plan_.steps.size());
    if (finished()) return;
    const CuttingStep& here = plan_.steps[current_];
    int i = current_ + 1;
    while (i < n && plan_.steps[i].kind != StepKind::Transfer && here.kind != StepKind::Transfer &&
           plan_.steps[i].tier == here.tier)
        ++i;
    current_ = i;
    remember();
}

bool AssistantSession::goToFacet(int32_t facet) {
    const int step = stepOfFacet(facet);
    if (step < 0) return false;
    current_ = step;
    remember();
    return true;
}

void AssistantSession::startOver() {
    progress_.cut.clear();
    current_ = 0;
    remember();
}

int AssistantSession::facetNumber() const {
    if (finished()) return plan_.facetCount;
    int before = 0;
    for (int i = 0; i < current_; ++i) before += static_cast<int>(plan_.steps[i].facets.size());
    return plan_.steps[current_].kind == StepKind::Transfer ? before : before + 1;
}

int AssistantSession::tierNumber() const {
    if (finished()) return plan_.tierCount;
    for (int i = current_; i < static_cast<int>(plan_.steps.size()); ++i)
        if (plan_.steps[i].tier >= 0) return plan_.steps[i].tier + 1;
    return plan_.tierCount;
}

}  // namespace brevix
