#include "files/plane_cutter.h"

#include <algorithm>
#include <array>
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

PlaneCutter::PlaneCutter(Stone& stone, int32_t localCutsFrom)
    : stone_(stone), initial_(stone), localCutsFrom_(localCutsFrom), session_(stone, localCutsFrom) {}

int PlaneCutter::apply(const Step& step, Stone& target, PlaneCutSession& session) {
    switch (step.kind) {
    case Step::Plane: {
        PlaneToCut plane{step.p[0], step.p[1], step.p[2], step.p[3], {}, {}};
        return session.cut(plane);
    }
    case Step::Angle: {
        const std::array<double, 4> p = Stone::planeByAngle(step.p[0], step.p[1], step.p[2], false);
        PlaneToCut plane{p[0], p[1], p[2], p[3], {}, {}};
        return session.cut(plane);
    }
    case Step::Name: target.setFacetName(target.nFacet - 1, step.text); return 0;
    case Step::Instruction: target.setInstruction(target.nFacet - 1, step.text); return 0;
    }
    return 0;
}

bool PlaneCutter::mayCut(double a, double b, double c, double d) {
    return finite(a) && finite(b) && finite(c) && finite(d) && !(a * a + b * b + c * c < 0.25);
}

bool PlaneCutter::mayCutByAngle(double azimuth, double tilt, double depth) {
    if (!finite(azimuth) || !finite(tilt) || !finite(depth) || std::fabs(depth) < 1e-300) return false;
    const std::array<double, 4> p = Stone::planeByAngle(azimuth, tilt, depth, false);
    return mayCut(p[0], p[1], p[2], p[3]);
}

int PlaneCutter::cut(double a, double b, double c, double d) {
    if (!finite(a) || !finite(b) || !finite(c) || !finite(d)) return -1;
    steps_.push_back({Step::Plane, {a, b, c, d}, {}});
    return cutLastStep();
}

int PlaneCutter::cutByAngle(double azimuth, double tilt, double depth) {
    if (!finite(azimuth) || !finite(tilt) || !finite(depth) || std::fabs(depth) < 1e-300) return -1;
    steps_.push_back({Step::Angle, {azimuth, tilt, depth, 0}, {}});
    return cutLastStep();
}

int PlaneCutter::cutLastStep() {
    int result;
    try {
        result = apply(steps_.back(), stone_, session_);
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
    // A local cut keeps both by construction, and its removed records are
    // still in their slots: only a stone newFacet has cut can be counted.
    if (result != BROKEN && session_.compact()) {
        if (stone_.eulerSum() != 2) {
            result = BROKEN;  // the kernel has shown its message
        } else if (int32_t edge = brokenEdge(stone_); edge >= 0) {
            stone_.addNote(DiagKind::Error, DiagCode::FileBrokenAfterCut, strprintf(filemsg::BROKEN_AFTER_CUT, edge));
            result = BROKEN;
        }
    }
    if (result == BROKEN) {
        session_.abandon();
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

void PlaneCutter::nameNewestFacet(std::string_view name) {
    steps_.push_back({Step::Name, {}, std::string(name)});
    apply(steps_.back(), stone_, session_);
}

void PlaneCutter::instructNewestFacet(std::string_view text) {
    steps_.push_back({Step::Instruction, {}, std::string(text)});
    apply(steps_.back(), stone_, session_);
}

std::unique_ptr<Stone> PlaneCutter::replay(size_t steps) const {
    auto out = std::make_unique<Stone>(initial_);
    steps = std::min(steps, steps_.size());
    size_t lastCut = steps;
    for (size_t i = 0; i < steps; ++i)
        if (steps_[i].kind == Step::Plane || steps_[i].kind == Step::Angle) lastCut = i;
    {
        PlaneCutSession session(*out, localCutsFrom_);
        for (size_t i = 0; i < steps; ++i) {
            if (i == lastCut) session.finish();
            apply(steps_[i], *out, session);
        }
    }
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
