#pragma once
// The optimiser's problem as a person states it, in the window or on the
// command line: the material, the tiers and the ranges they set, the goal,
// the limits and the search. Both build the settings through
// problemSettings, so the same file, goal, limits and seed give the same
// angles wherever the search is started.
#include <optional>
#include <string>
#include <vector>

#include "optics/materials.h"
#include "optimise/optimiser.h"

namespace brevix::optimise {

// The goal's presets (their formulas are in goal.h and the guide).
enum class Goal { Balanced, Brightness, Sparkle };
GoalWeights goalWeights(Goal goal);
const char* goalName(Goal goal);
std::optional<Goal> goalNamed(const std::string& name);

struct ProblemRequest {
    std::optional<optics::Material> material;  // a listed material
    std::optional<double> ri;                   // else a typed index, else the design's own
    std::vector<int32_t> tiers;                 // empty: every tier that can vary
    // Only the ranges the person set: a range that merely shows the
    // default (rounded for display) must not narrow the search.
    std::vector<RangeSetting> ranges;
    Limits limits;
    GoalWeights weights = goalWeights(Goal::Balanced);
    unsigned seed = 1;
    int starts = 8;
    int evaluationsPerStart = 300;
    double seconds = 50;
    // Copies cut with machine error each candidate is scored over (0 = none).
    int robustSamples = 0;
    // The lightings each candidate is judged under, and whether the worst
    // of them (else their mean) decides (see Scoring).
    std::vector<optics::Environment> lightings{optics::Environment::Iso};
    bool worstLighting = false;
};

// Copies a robust search scores each candidate over unless told otherwise:
// enough for the mean to tell a cliff from a plateau, at eight times the work.
constexpr int DEFAULT_ROBUST_SAMPLES = 8;

// The settings of the search; the cancel flag and the progress call are
// the caller's to add.
OptimiseSettings problemSettings(double designIndex, const ProblemRequest& request);

}  // namespace brevix::optimise
