#pragma once
// Light meeting one surface between two transparent media: the one account
// of refraction and reflection that the rays drawn in the views and the
// light-performance renderer both follow.
#include <cmath>

#include "kernel/geometry.h"

namespace brevix {

// Cosine of the transmitted angle for light meeting the surface at cosI
// from the normal with index ratio eta = n1 / n2; negative when the light
// is totally reflected.
inline double transmittedCos(double cosI, double eta) {
    const double k = 1.0 - eta * eta * (1.0 - cosI * cosI);
    return k > 0.0 ? std::sqrt(k) : -1.0;
}

// Direction of the light that passes: eta d + (eta cosI - cosT) N, for the
// unit direction d, the unit normal N facing the incoming light (so that
// cosI = -N.d > 0), and cosT from transmittedCos.
inline Vec3 refractedDirection(Vec3 d, Vec3 facing, double eta, double cosI, double cosT) {
    const double k = eta * cosI - cosT;
    return {eta * d.x + k * facing.x, eta * d.y + k * facing.y, eta * d.z + k * facing.z};
}

// Direction of the light that the surface reflects, with cosDN = n.d for
// either orientation of the unit normal n.
inline Vec3 reflectedDirection(Vec3 d, Vec3 n, double cosDN) {
    return {d.x - 2 * cosDN * n.x, d.y - 2 * cosDN * n.y, d.z - 2 * cosDN * n.z};
}

}  // namespace brevix
