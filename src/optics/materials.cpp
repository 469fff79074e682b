#include "optics/materials.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/ascii_case.h"

namespace brevix::optics {

namespace {

// Dispersion is the C-F figure (656.3 to 486.1 nm), not the B-G figure most
// gem tables quote; both, with the specific gravities, from R. Webster,
// "Gems: Their Sources, Descriptions and Identification" (5th ed., 1994),
// appendix tables of refractive index, dispersion and density, and
// B. W. Anderson, "Gem Testing" (10th ed.). Where only B-G is published the
// C-F figure is taken as 0.56 of it, the ratio that holds for the listed
// stones with both (quartz 0.013/0.008, diamond 0.044/0.025). Opal's is a
// nominal small value: it is hardly ever quoted.
const std::array<Material, 16> TABLE = {{
    {"Fluorite", 1.43, 0.004, 3.18},
    {"Opal", 1.45, 0.004, 2.10},
    {"Quartz", 1.54, 0.008, 2.65},
    {"Beryl", 1.58, 0.009, 2.72},
    {"Topaz", 1.61, 0.008, 3.53},
    {"Tourmaline", 1.62, 0.009, 3.06},
    {"Peridot", 1.65, 0.011, 3.34},
    {"Spinel", 1.72, 0.011, 3.60},
    {"Corundum", 1.76, 0.011, 4.00},
    {"Zircon", 1.81, 0.022, 4.70},
    {"YAG", 1.83, 0.015, 4.55},
    {"GGG", 2.02, 0.022, 7.05},
    {"Cubic Zirconia", 2.16, 0.033, 5.80},
    {"Diamond", 2.42, 0.025, 3.52},
    {"Rutile", 2.62, 0.155, 4.25},
    {"Moissanite", 2.65, 0.058, 3.22},
}};


}  // namespace

std::span<const Material> materials() { return TABLE; }

std::optional<Material> findMaterial(std::string_view name) {
    for (const Material& m : TABLE)
        if (equalIgnoringAsciiCase(m.name, name)) return m;
    return std::nullopt;
}

Material materialForIndex(double refractiveIndex) {
    for (const Material& m : TABLE)
        if (std::fabs(m.refractiveIndex - refractiveIndex) < 0.005) return m;
    // Dispersion grows with the index for ordinary glasses and crystals;
    // interpolate between the listed stones that have "normal" dispersion.
    double dispersion = 0.008 + (refractiveIndex - 1.54) * 0.02;
    dispersion = std::clamp(dispersion, 0.003, 0.06);
    char name[32];
    std::snprintf(name, sizeof name, "RI %.3f", refractiveIndex);
    return {name, refractiveIndex, dispersion, 0.0};
}

}  // namespace brevix::optics
