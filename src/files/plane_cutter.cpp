#include "files/plane_cutter.h"

#include <cmath>

#include "files/design_record.h"
#include "files/file_messages.h"
#include "kernel/kernel_error.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

bool finite(double x) { return std::isfinite(x); }

// The first edge that refers past the arrays, or -1.
int32_t brokenEdge(const Stone& s) {
    for (int32_t j = 0; j < s.nEdge; ++j) {
        const Edge& e = s.edges[j];
        for (int k = 0; k < 2; ++k)
            if (e.v[k] < 0 || e.v[k] >= s.nVertex || e.f[k] < 0 || e.f[k] >= s.nFacet) return j;
    }
    return -1;
}

}  // namespace

PlaneCutter::PlaneCutter(Stone& stone) : stone_(stone), initial_(stone) {}

int PlaneCutter::apply(const Step& step, Stone& target) const {
    switch (step.kind) {
    case Step::Plane: return target.newFacet(step.p[0], step.p[1], step.p[2], step.p[3]);
    case Step::Angle: return target.cutByAngle(step.p[0], step.p[1], step.p[2], false);
    case Step::Name: target.setFacetName(step.facet, step.text); return 0;
    case Step::Instruction: target.setInstruction(step.facet, step.text); return 0;
    }
    return 0;
}

int PlaneCutter::cut(double a, double b, double c, double d) {
    if (!finite(a) || !finite(b) || !finite(c) || !finite(d)) return -1;
    steps_.push_back({Step::Plane, {a, b, c, d}, 0, {}});
    return cutLastStep();
}

int PlaneCutter::cutByAngle(double azimuth, double tilt, double depth) {
    if (!finite(azimuth) || !finite(tilt) || !finite(depth) || std::fabs(depth) < 1e-300) return -1;
    steps_.push_back({Step::Angle, {azimuth, tilt, depth, 0}, 0, {}});
    return cutLastStep();
}

int PlaneCutter::cutLastStep() {
    int result;
    try {
        result = apply(steps_.back(), stone_);
    } catch (const KernelError& error) {
        stone_.addNote(DiagKind::Error, DiagCode::KernelBrokenPolyhedron, error.what());
        result = BROKEN;
    }
    return afterCut(result);
}

// A cut that went through can still leave arrays no later cut may trust
// (the kernel reports a failed Euler test and goes on): treat it as broken.
int PlaneCutter::afterCut(int result) {
    ++planes_;
    lastCutStep_ = steps_.size() - 1;
    if (result != BROKEN) {
        if (stone_.eulerSum() != 2) {
            result = BROKEN;  // the kernel has shown its message
        } else if (int32_t edge = brokenEdge(stone_); edge >= 0) {
            stone_.addNote(DiagKind::Error, DiagCode::FileBrokenAfterCut, strprintf(filemsg::BROKEN_AFTER_CUT, edge));
            result = BROKEN;
        }
    }
    if (result == BROKEN) {
        std::unique_ptr<Stone> before = replay(lastCutStep_);
        takeDesignFields(*before, stone_);
        before->preform = std::move(stone_.preform);
        Diagnostics said = stone_.takeDiagnostics();
        stone_ = std::move(*before);
        stone_.addNotes(std::move(said));
        steps_.pop_back();
        stone_.addNote(DiagKind::Error, DiagCode::FileReadStoppedAtFacet, strprintf(filemsg::READ_STOPPED_AT_FACET, planes_));
    }
    return result;
}

void PlaneCutter::setName(int32_t facet, std::string_view name) {
    steps_.push_back({Step::Name, {}, facet, std::string(name)});
    apply(steps_.back(), stone_);
}

void PlaneCutter::setInstruction(int32_t facet, std::string_view text) {
    steps_.push_back({Step::Instruction, {}, facet, std::string(text)});
    apply(steps_.back(), stone_);
}

std::unique_ptr<Stone> PlaneCutter::replay(size_t steps) const {
    auto out = std::make_unique<Stone>(initial_);
    for (size_t i = 0; i < steps && i < steps_.size(); ++i) apply(steps_[i], *out);
    // The replay repeats cuts the user has already been told about.
    (void)out->takeDiagnostics();
    return out;
}

std::unique_ptr<Stone> PlaneCutter::stoneBeforeLastCut() const {
    std::unique_ptr<Stone> before = replay(lastCutStep_);
    takeDesignFields(*before, stone_);
    before->preform.reset();
    return before;
}

void PlaneCutter::takeDesignFields(Stone& to, const Stone& from) { applySettings(to, settingsOf(from)); }

}  // namespace brevix
