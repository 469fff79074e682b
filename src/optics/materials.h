#pragma once
// Gem materials: the sixteen of the Raytrace Properties list, in its order,
// with what light performance (dispersion) and real sizes (specific
// gravity) need besides the refractive index.
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace brevix::optics {

struct Material {
    std::string name;          // as the Raytrace Properties list spells it
    double refractiveIndex;    // nD, as the list gives it
    double dispersion;         // nF - nC
    double specificGravity;    // g/cm3
};

// The sixteen, in the order of the Raytrace Properties list.
std::span<const Material> materials();

// A material by name, ignoring case ("diamond", "Cubic Zirconia"); none when unknown.
std::optional<Material> findMaterial(std::string_view name);

// The listed material whose index equals `refractiveIndex` to two decimals,
// or a material of its own ("RI 1.700") with a typical dispersion for that
// index and no known gravity (0).
Material materialForIndex(double refractiveIndex);

}  // namespace brevix::optics
