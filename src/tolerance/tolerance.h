#pragma once
// How forgiving a design is: its light when the machine cuts it a little
// off, sample by sample, and how much each tier's angle moves the light.
//
// Each sample gives every tier its own error, drawn uniformly within the
// machine's errors (tolerance/machine_error.h), re-cuts the design by
// intent and renders it face up. A tier's sensitivity is the central
// difference (ISO(angle + e) - ISO(angle - e)) / 2e, each side re-cut by
// intent with only that tier's angle moved, e the angle error (or
// SENSITIVITY_STEP_DEGREES when the angle error is 0).
//
// The percentiles are nearest-rank: the p-th percentile of n figures is
// the ceil(p/100 * n)-th smallest (at least the first).
//
// Pure function of its arguments: every sample draws from a generator of
// its own and lands in its own slot, so the report is the same, bit for
// bit, on any number of threads.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "intent/intent.h"
#include "kernel/stone.h"
#include "optics/face_up.h"
#include "tolerance/machine_error.h"

namespace brevix::tolerance {

constexpr double SENSITIVITY_STEP_DEGREES = 0.1;

// Small pictures: two hundred samples must take seconds, and at 96 pixels
// the brightness still follows a tenth of a degree as a 512-pixel picture
// does (the well-cut brilliant's sensitivities within a few tenths of a
// point per degree of the large picture's; at 64 or 80 pixels a shallow
// tier's are off by a point).
constexpr int DEFAULT_PICTURE_SIZE = 96;

inline optics::FaceUpOptions defaultLight() {
    optics::FaceUpOptions o;
    o.size = DEFAULT_PICTURE_SIZE;
    return o;
}

struct ToleranceOptions {
    MachineError error;
    int samples = 200;
    uint64_t seed = 1;
    // Every picture: its size, index, lighting and tilt (its threads are ignored).
    optics::FaceUpOptions light = defaultLight();
    // The lightings the judged brightness is taken under (as the optimiser
    // judges candidates): its mean over them, or with worstLighting the
    // lowest. Every picture is rendered once per room among them.
    std::vector<optics::Environment> lightings{optics::Environment::Iso};
    bool worstLighting = false;
    int threads = 0;  // 0 = every core
    // Set by another thread: give up; the report is then incomplete.
    const std::atomic<bool>* cancel = nullptr;
    // Called from the working threads, one call at a time: pictures done of all.
    std::function<void(int done, int total)> progress;
};

struct Spread {
    double mean = 0, p5 = 0, p95 = 0;
};

struct TierSensitivity {
    int32_t tier = 0;  // in cutting order
    std::string name;  // as the cut list names it
    // ISO, COS and judged points per degree; none when a side could not be cut.
    std::optional<double> isoPerDegree, cosPerDegree, judgedPerDegree;
};

struct ToleranceReport {
    std::string error;  // why nothing could be measured ("" = measured)
    bool complete = true;
    double nominalIso = 0, nominalCos = 0;
    int samples = 0;        // measured
    int failedSamples = 0;  // whose re-cut could not keep the intent
    Spread iso, cos;
    // The brightness judged under the options' lightings.
    double nominalJudged = 0;
    Spread judged;
    std::vector<TierSensitivity> tiers;
    int mostSensitive = -1;  // into tiers: the largest absolute ISO sensitivity, -1 for none
};

// `design` must be described by `intent` (intentMatches). The nominal
// figures are the design's re-cut by intent without errors.
ToleranceReport analyseTolerance(const Stone& design, const DesignIntent& intent, const ToleranceOptions& options);

// A brightness judged under several lightings: each lighting's own (ISO,
// COS, or a room's scene brightness), their mean or the lowest.
double judgedBrightness(const std::vector<double>& underEach, bool worst);

// The nearest-rank percentile (0 < percent <= 100) of `values`; 0 for none.
double nearestRankPercentile(std::vector<double> values, double percent);

// The mean of `values`, exact when they are all equal; 0 for none.
double meanOf(const std::vector<double>& values);

}  // namespace brevix::tolerance
