#include "optimise/goal.h"

#include <cmath>

namespace brevix::optimise {

namespace {
double relativeChange(double value, double from) {
    if (std::fabs(from) < 1e-12) return std::fabs(value) < 1e-12 ? 0 : 1;
    return std::fabs(value - from) / std::fabs(from);
}
}  // namespace

double characterDistance(const CharacterTarget& target, const Proportions& p, const std::vector<double>& angles) {
    const Proportions& t = target.proportions;
    double distance = 100.0 *
                      (relativeChange(p.table, t.table) + relativeChange(p.crownHeight, t.crownHeight) +
                       relativeChange(p.pavilionDepth, t.pavilionDepth)) /
                      3;
    if (!angles.empty() && angles.size() == target.angles.size()) {
        double turn = 0;
        for (size_t i = 0; i < angles.size(); ++i) turn += std::fabs(angles[i] - target.angles[i]);
        distance += turn / angles.size();
    }
    return distance;
}

double goalScore(const GoalWeights& w, const Figures& f, bool withCharacter) {
    const optics::TiltAverages& l = f.light;
    double score = w.iso * l.iso + w.cos * l.cos + w.contrast * l.contrast +
                   w.scintillation * l.scintillation - w.windowing * l.windowing -
                   w.extinction * l.extinction;
    if (withCharacter) score -= w.character * f.character;
    return score;
}

}  // namespace brevix::optimise
