#include "app/rough/fit_job.h"

#include "design/real_size.h"

namespace brevix::roughfit {

double fittedCarats(const Stone& stone, double widthMm, double volumeMm3, double specificGravity) {
    const std::optional<RealSize> size = realSizeOf(stone, SizeBasis::Width, widthMm);
    return caratsOf(size ? size->volume : volumeMm3, specificGravity);
}

FitOutcome runFit(const FitJob& job) {
    FitOutcome outcome;
    outcome.generation = job.generation;
    if (!job.rough || !job.stone) {
        outcome.result.message = "Nothing to fit: choose a rough and a design.";
        return outcome;
    }
    outcome.result = rough::fitStone(*job.stone, *job.rough, job.options);
    if (!outcome.result.fits) return outcome;
    outcome.weightCt =
        fittedCarats(*job.stone, outcome.result.widthMm, outcome.result.volumeMm3, job.specificGravity);
    outcome.placedStone = rough::placedStoneMesh(*job.stone, outcome.result.placement);
    return outcome;
}

}  // namespace brevix::roughfit
