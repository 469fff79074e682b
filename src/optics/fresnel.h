#pragma once
// Reflection and refraction at one surface between two transparent media,
// for unpolarised light.
#include <cmath>

#include "kernel/refraction.h"

namespace brevix::optics {

// The share of unpolarised light reflected at a surface met at cosI from the
// normal, going from index n1 into index n2, with cosT the cosine of the
// transmitted ray's angle (the exact Fresnel equations: the mean of the s and
// p reflectances). Total internal reflection is the caller's to detect.
inline double fresnelReflectance(double cosI, double cosT, double n1, double n2) {
    const double rs = (n1 * cosI - n2 * cosT) / (n1 * cosI + n2 * cosT);
    const double rp = (n1 * cosT - n2 * cosI) / (n1 * cosT + n2 * cosI);
    return 0.5 * (rs * rs + rp * rp);
}

// Reflectance of light meeting the surface head on: ((n1 - n2) / (n1 + n2))^2.
inline double normalReflectance(double n1, double n2) {
    const double r = (n1 - n2) / (n1 + n2);
    return r * r;
}

// Cosine of the transmitted angle: the same as the rays in the views use.
using brevix::transmittedCos;

}  // namespace brevix::optics
