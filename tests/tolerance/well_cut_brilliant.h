#pragma once
// The published well-cut brilliant: pavilion 41/43, crown 28/32, stars 13,
// its table cut to 0.546 of the width, in quartz (RI 1.54).
#include "design/measures.h"
#include "intent/recut.h"
#include "optimise/brilliant_at.h"

namespace brevix::tolerance::testing {

using optimise::testing::brilliantAt;

inline double tableShare(const Stone& stone) {
    const Proportions p = proportionsOf(boundsOf(stone));
    return p.W > 0 ? p.T / p.W : 0;
}

inline DesignWithIntent wellCutBrilliant() {
    DesignWithIntent d = brilliantAt(41, 43, 28, 13, 32);
    // The table's depth found by halving: a deeper table is a wider one.
    double low = 0.05, high = 0.6;
    for (int i = 0; i < 50; ++i) {
        const double ced = (low + high) / 2;
        TierChange change;
        change.tier = optimise::testing::T;
        change.setCed = true;
        change.ced = ced;
        RecutResult cut = recutByIntent(d.stone, d.intent, change);
        if (tableShare(cut.stone) < 0.546)
            high = ced;
        else
            low = ced;
    }
    TierChange change;
    change.tier = optimise::testing::T;
    change.setCed = true;
    change.ced = (low + high) / 2;
    RecutResult cut = recutByIntent(d.stone, d.intent, change);
    return {std::move(cut.stone), std::move(cut.intent)};
}

}  // namespace brevix::tolerance::testing
