#pragma once
// What a stone's weight is reckoned for: a material of the table, or a
// specific gravity the user typed, or, when neither is given, the listed
// material whose refractive index the design was cut for.
#include <optional>
#include <string>
#include <string_view>

#include "design/real_size.h"
#include "kernel/stone.h"

namespace brevix::optics {

struct WeightMaterial {
    std::string name;            // as the table spells it; "" for a typed gravity
    double specificGravity = 0;  // g/cm3
};

// `name` when the table knows it, else `typedGravity` when it lies within
// MIN_GRAVITY..MAX_GRAVITY, else the listed material of `refractiveIndex`.
// Nothing when none of them has a gravity.
std::optional<WeightMaterial> weightMaterial(std::string_view name, double typedGravity, double refractiveIndex);

// The size and weight lines the printed diagram carries under its
// statistics ("Size: ... mm" and "Weight: ... ct (...)", each ending in a
// newline); "" when the stone cannot be sized at `size`.
std::string diagramWeightLines(const Stone& stone, const SizeChoice& size, const WeightMaterial& material);

}  // namespace brevix::optics
