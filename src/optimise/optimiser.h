#pragma once
// Better light from the same design: the angles of the chosen tiers are
// searched within their limits for the best goal score, each candidate
// re-cut by intent (so meets stay meets) and rendered over a tilt sweep.
//
// The search is NLopt's subplex (a derivative-free local method that copes
// with the small steps a rendered score makes), started from the design and
// from further points drawn near it with a seeded generator: several local
// searches, run side by side on every core. Each search depends only on its
// own start, so the same seed and budget give the same result on any number
// of threads; only a time limit or Stop that cuts a run short changes it.
//
// No state outside its arguments: several optimisations may run at once.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "intent/intent.h"
#include "kernel/stone.h"
#include "optimise/evaluator.h"
#include "optimise/goal.h"
#include "optimise/variables.h"

namespace brevix::optimise {

struct Progress {
    int evaluations = 0;
    int budget = 0;           // evaluations the run may take in all
    bool haveBest = false;
    double bestScore = 0;
    std::vector<double> bestAngles;
    std::shared_ptr<const Stone> bestStone;  // for a picture of the best so far
};

struct OptimiseSettings {
    std::vector<int32_t> tiers;         // empty: every tier that can vary
    std::vector<RangeSetting> ranges;   // ranges of single tiers, else the default span
    Limits limits;
    GoalWeights weights;
    Scoring scoring;                    // its refractiveIndex is the material's
    unsigned seed = 1;
    int starts = 8;                     // local searches: from the design, then from drawn points
    int evaluationsPerStart = 300;
    // Time limit, 0 = none. It covers the whole run: no candidate starts
    // that would, by the time candidates have taken so far, end past it.
    double seconds = 0;
    // The time, for a test that counts what fits in the limit (else the steady clock).
    std::function<std::chrono::steady_clock::time_point()> clock;
    int threads = 0;                    // 0 = every core
    // Distinct runners-up differ from the best and from each other by at
    // least this many degrees in some tier.
    double distinctDegrees = 0.5;
    int runnersUp = 3;
    const std::atomic<bool>* cancel = nullptr;  // set by another thread: stop and return the best so far
    // Called now and then from the searching threads, one call at a time.
    std::function<void(const Progress&)> progress;
};

struct OptimiseResult {
    std::vector<TierVariable> variables;
    Evaluation start;                  // the design as it was, scored alike
    std::optional<Evaluation> best;    // with its design
    std::vector<Evaluation> runnersUp; // with their designs, best first
    // The limits the best is held at, as the result line names them.
    std::vector<std::string> bounds;
    int evaluations = 0;
    int accepted = 0;
    bool stopped = false;              // cancelled or out of time
    std::string error;                 // the settings could not be used
};

OptimiseResult optimiseDesign(const Stone& design, const DesignIntent& intent, const OptimiseSettings& settings);

// Retargeting to another material: the design with every pavilion tier
// turned by the difference of the critical angles (or by a part of it,
// whichever starts best in the new material, see retargetStart) is
// optimised in the new material with a goal that also keeps it close to the
// original's proportions and to the turned angles.
struct RetargetStart {
    Stone stone;
    DesignIntent intent;
    double turn = 0;  // degrees each pavilion tier was turned (+ steeper)
};
std::optional<RetargetStart> retargetStart(const Stone& design, const DesignIntent& intent, double fromIndex,
                                           const OptimiseSettings& settings);

OptimiseResult retargetDesign(const Stone& design, const DesignIntent& intent, double fromIndex,
                              const OptimiseSettings& settings);

}  // namespace brevix::optimise
