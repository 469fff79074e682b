#pragma once
// One fit as the window asks for it and what it gives back: the fit itself,
// the weight for the chosen gravity and the placed stone's mesh for the
// view and for saving. Qt-free, so that it runs on any thread and tests can
// compare the window's figures with it.
#include <cstdint>
#include <memory>

#include "kernel/stone.h"
#include "rough/rough_fit.h"

namespace brevix::roughfit {

struct FitJob {
    std::shared_ptr<const rough::Rough> rough;
    // Owned by the job: measuring a stone fills caches, so a stone shared
    // with the window's thread would be written from two threads.
    std::shared_ptr<Stone> stone;
    rough::FitOptions options;
    double specificGravity = 0;
    uint64_t generation = 0;
};

struct FitOutcome {
    uint64_t generation = 0;
    rough::FitResult result;
    double weightCt = 0;       // for the found width, as Size and Weight gives it
    rough::Mesh placedStone;   // empty when nothing fits
};

FitOutcome runFit(const FitJob& job);

// Carats of the stone at `widthMm` wide: the weight Size and Weight and
// `brevix-cli info --width` give. Falls back to `volumeMm3` for a stone
// that cannot be sized by its width.
double fittedCarats(const Stone& stone, double widthMm, double volumeMm3, double specificGravity);

}  // namespace brevix::roughfit
