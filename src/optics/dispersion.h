#pragma once
// Fire: the stone rendered in three colours of light, each with its own
// refractive index, the red picture from the C line, the green from D and the
// blue from F.
#include <array>

#include "optics/face_up.h"

namespace brevix::optics {

constexpr double LINE_C_NM = 656.3, LINE_D_NM = 589.3, LINE_F_NM = 486.1;

struct LineIndexes {
    double c = 0, d = 0, f = 0;
};

// The indexes at the C, D and F lines of a material with index nD and
// dispersion nF - nC, on Cauchy's curve n = A + B / wavelength^2.
LineIndexes lineIndexes(double nD, double dispersion);

struct DispersionImage {
    std::array<FaceUpImage, 3> channels;  // C (red), D (green), F (blue)
    bool complete = true;
};

DispersionImage renderDispersion(const Stone& stone, const FaceUpOptions& options, double dispersion);

}  // namespace brevix::optics
