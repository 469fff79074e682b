#pragma once
// Goals a cutter thinks in rather than depths: a table width, a girdle so
// thick at the main tips. Each is reached by moving one tier's depth and
// re-cutting the design by its intent, so that the tiers after it follow.
#include <cstdint>
#include <optional>
#include <string>

#include "intent/recut.h"

namespace brevix {

enum class TierGoal {
    TableWidth,     // T/W, by the table's depth
    GirdleAtMains,  // girdle thickness at the main tips as a share of W, by a mains tier's depth
};

// The goal's figure of a stone; none where the stone has no such figure.
std::optional<double> goalFigure(const Stone& stone, TierGoal goal);

struct GoalResult {
    std::optional<RecutResult> cut;  // the design at the goal
    double ced = 0;                  // the tier's depth there
    double reached = 0;              // the figure there
    std::string problem;             // why the goal could not be met ("" when it was)
};

// Searches the tier's depth that gives `target` (within 1e-6), starting
// where it is now. Touches nothing outside its arguments.
GoalResult solveTierGoal(const Stone& design, const DesignIntent& intent, int32_t tier, TierGoal goal,
                         double target);

}  // namespace brevix
