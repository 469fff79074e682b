#pragma once
// Candidates already scored, by their exact angles. The searches come back
// to points they have been at (about one candidate in twenty on the
// brilliants), and a candidate's evaluation depends on its angles alone:
// what was found once is handed back instead of cut and rendered again.
// Shared by the searching threads; an evaluation is the same whichever
// thread made it, so what they find does not depend on which got there first.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "optimise/evaluator.h"

namespace brevix::optimise {

class EvaluationMemo {
public:
    // The evaluation kept for exactly these angles (without a design), if any.
    std::optional<Evaluation> find(const std::vector<double>& angles) const;
    // Keeps a finished evaluation (its design is not kept).
    void keep(Evaluation e);

private:
    // Angles by their bits: equal keys are the very same candidate.
    using Key = std::vector<uint64_t>;
    static Key keyOf(const std::vector<double>& angles);

    mutable std::mutex mutex_;
    std::map<Key, Evaluation> kept_;
};

}  // namespace brevix::optimise
