#include "optimise/problem.h"

#include <algorithm>

#include "optics/light_score.h"

namespace brevix::optimise {

GoalWeights goalWeights(Goal goal) {
    GoalWeights w;
    switch (goal) {
        case Goal::Balanced:
            break;
        case Goal::Brightness:
            w.extinction = 0;
            w.contrast = 0;
            w.scintillation = 0;
            break;
        case Goal::Sparkle:
            w.iso = 0.5;
            w.cos = 0.5;
            w.extinction = 0.25;
            w.contrast = 1;
            w.scintillation = 1;
            break;
    }
    return w;
}

const char* goalName(Goal goal) {
    switch (goal) {
        case Goal::Brightness:
            return "brightness";
        case Goal::Sparkle:
            return "sparkle";
        case Goal::Balanced:
            break;
    }
    return "balanced";
}

std::optional<Goal> goalNamed(const std::string& name) {
    for (Goal g : {Goal::Balanced, Goal::Brightness, Goal::Sparkle})
        if (name == goalName(g)) return g;
    return std::nullopt;
}

OptimiseSettings problemSettings(double designIndex, const ProblemRequest& r) {
    OptimiseSettings s;
    s.scoring.refractiveIndex = optics::chooseLight(r.material, r.ri, designIndex).refractiveIndex;
    s.tiers = r.tiers;
    s.ranges = r.ranges;
    s.limits = r.limits;
    s.weights = r.weights;
    s.seed = r.seed;
    s.starts = std::max(1, r.starts);
    s.evaluationsPerStart = std::max(2, r.evaluationsPerStart);
    s.seconds = r.seconds;
    s.scoring.robustSamples = std::max(0, r.robustSamples);
    if (!r.lightings.empty()) s.scoring.lightings = r.lightings;
    s.scoring.worstLighting = r.worstLighting;
    s.scoring.robustSeed = r.seed;
    return s;
}

}  // namespace brevix::optimise
