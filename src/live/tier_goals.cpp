#include "live/tier_goals.h"

#include <cmath>

#include "live/design_figures.h"

namespace brevix {

namespace {

constexpr double GOAL_TOLERANCE = 1e-6;

struct Trial {
    bool valid = false;
    double ced = 0, gap = 0;
};

}  // namespace

std::optional<double> goalFigure(const Stone& stone, TierGoal goal) {
    const DesignFigures f = figuresOf(stone);
    return goal == TierGoal::TableWidth ? f.tw : f.girdleAtMains;
}

GoalResult solveTierGoal(const Stone& design, const DesignIntent& intent, int32_t tier, TierGoal goal,
                         double target) {
    GoalResult out;
    if (tier < 0 || tier >= int32_t(intent.tiers.size())) {
        out.problem = "There is no such tier.";
        return out;
    }
    // The trial cuts' kernel notes are not the cutter's business: they go
    // with the trial stones.
    const auto cutAt = [&](double ced) {
        TierChange change;
        change.tier = tier;
        change.setCed = true;
        change.ced = ced;
        return recutByIntent(design, intent, change);
    };
    const auto trial = [&](double ced) {
        Trial t;
        t.ced = ced;
        if (!(ced > EPS)) return t;
        RecutResult cut = cutAt(ced);
        if (!cut.ok()) return t;
        const std::optional<double> figure = goalFigure(cut.stone, goal);
        if (!figure) return t;
        t.valid = true;
        t.gap = *figure - target;
        return t;
    };

    const double start = intent.tiers[tier].ced;
    Trial here = trial(start);
    Trial low, high;
    if (here.valid && std::fabs(here.gap) <= GOAL_TOLERANCE) {
        low = high = here;
    } else {
        // Outwards from the present depth, both ways, until the figure
        // passes the target.
        bool found = false;
        for (int dir : {+1, -1}) {
            Trial previous = here;
            for (int k = 0; k < 12 && !found; ++k) {
                const Trial next = trial(start + dir * 0.002 * std::ldexp(1.0, k));
                if (next.valid && previous.valid && (next.gap > 0) != (previous.gap > 0)) {
                    low = previous;
                    high = next;
                    found = true;
                }
                if (next.valid) previous = next;
            }
            if (found) break;
        }
        if (!found) {
            out.problem = "The goal cannot be reached by this tier's depth.";
            return out;
        }
        for (int k = 0; k < 100 && std::fabs(high.ced - low.ced) > 1e-13; ++k) {
            const Trial mid = trial((low.ced + high.ced) / 2);
            if (!mid.valid) break;
            if (std::fabs(mid.gap) <= GOAL_TOLERANCE / 100) {
                low = high = mid;
                break;
            }
            ((mid.gap > 0) == (low.gap > 0) ? low : high) = mid;
        }
    }
    const Trial& best = std::fabs(low.gap) <= std::fabs(high.gap) ? low : high;
    if (std::fabs(best.gap) > GOAL_TOLERANCE) {
        out.problem = "The goal cannot be reached by this tier's depth.";
        return out;
    }
    out.cut = cutAt(best.ced);
    out.ced = best.ced;
    out.reached = best.gap + target;
    return out;
}

}  // namespace brevix
