#pragma once
// A short search at a small light size: enough for the optimiser's rules to
// show, quick enough for a unit test.
#include "optimise/optimiser.h"

namespace brevix::optimise {

inline OptimiseSettings quick(int starts, int evaluations) {
    OptimiseSettings s;
    s.starts = starts;
    s.evaluationsPerStart = evaluations;
    s.scoring.size = 40;
    return s;
}

}  // namespace brevix::optimise
