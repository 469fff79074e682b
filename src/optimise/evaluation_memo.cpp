#include "optimise/evaluation_memo.h"

#include <bit>

namespace brevix::optimise {

EvaluationMemo::Key EvaluationMemo::keyOf(const std::vector<double>& angles) {
    Key key;
    key.reserve(angles.size());
    for (double a : angles) key.push_back(std::bit_cast<uint64_t>(a));
    return key;
}

std::optional<Evaluation> EvaluationMemo::find(const std::vector<double>& angles) const {
    const Key key = keyOf(angles);
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = kept_.find(key);
    if (it == kept_.end()) return std::nullopt;
    return it->second;
}

void EvaluationMemo::keep(Evaluation e) {
    e.stone.reset();
    e.intent = DesignIntent{};
    Key key = keyOf(e.angles);
    std::lock_guard<std::mutex> lock(mutex_);
    kept_.emplace(std::move(key), std::move(e));
}

}  // namespace brevix::optimise
