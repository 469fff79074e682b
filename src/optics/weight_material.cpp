#include "optics/weight_material.h"

#include "optics/materials.h"

namespace brevix::optics {

std::optional<WeightMaterial> weightMaterial(std::string_view name, double typedGravity, double refractiveIndex) {
    if (!name.empty()) {
        if (const std::optional<Material> m = findMaterial(name)) return WeightMaterial{m->name, m->specificGravity};
    }
    if (typedGravity >= MIN_GRAVITY && typedGravity <= MAX_GRAVITY) return WeightMaterial{"", typedGravity};
    const Material byIndex = materialForIndex(refractiveIndex);
    if (byIndex.specificGravity > 0) return WeightMaterial{byIndex.name, byIndex.specificGravity};
    return std::nullopt;
}

std::string diagramWeightLines(const Stone& stone, const SizeChoice& size, const WeightMaterial& material) {
    const std::optional<RealSize> real = realSizeOf(stone, size.basis, size.millimetres);
    if (!real || material.specificGravity <= 0) return {};
    return sizeLine(*real) + "\n" + weightLine(*real, material.name, material.specificGravity) + "\n";
}

}  // namespace brevix::optics
