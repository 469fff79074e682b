#include "kernel/local_cut.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "kernel/local_cutter.h"

namespace brevix {

using local_cut::LocalCutter;
using local_cut::localCutPlaneUsable;

LocalCutCounts cutPlanesInTurn(Stone& stone, std::vector<PlaneToCut>& planes, int32_t smallestStone) {
    // The last plane newFacet would not ignore is cut by newFacet itself, so
    // that every working mark it leaves is the one the stone always had.
    size_t last = planes.size();
    LocalCutCounts counts;
    while (last > 0 && !localCutPlaneUsable(planes[last - 1])) --last;
    if (last > 0) {
        LocalCutter cutter(stone, smallestStone);
        for (size_t i = 0; i + 1 < last; ++i) cutter.cut(planes[i]);
        cutter.leave();
        counts = cutter.counts();
        --last;
    }
    for (size_t i = last; i < planes.size(); ++i) {
        PlaneToCut& p = planes[i];
        stone.newFacet(p.a, p.b, p.c, p.d, std::move(p.name), std::move(p.instruction));
        ++counts.byNewFacet;
    }
    return counts;
}

struct PlaneCutSessionState {
    LocalCutter cutter;
};

PlaneCutSession::PlaneCutSession(Stone& stone, int32_t smallestStone)
    : stone_(stone), state_(std::make_unique<PlaneCutSessionState>(PlaneCutSessionState{{stone, smallestStone}})) {}

PlaneCutSession::~PlaneCutSession() { finish(); }

int PlaneCutSession::cut(PlaneToCut& plane) {
    if (state_) return state_->cutter.cut(plane);
    return stone_.newFacet(plane.a, plane.b, plane.c, plane.d, std::move(plane.name), std::move(plane.instruction));
}

bool PlaneCutSession::compact() const { return !state_ || state_->cutter.compact(); }

LocalCutCounts PlaneCutSession::counts() const { return state_ ? state_->cutter.counts() : LocalCutCounts{}; }

void PlaneCutSession::finish() {
    if (state_) state_->cutter.leave();
    state_.reset();
}

void PlaneCutSession::abandon() { state_.reset(); }

}  // namespace brevix
