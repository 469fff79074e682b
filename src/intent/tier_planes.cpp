#include "intent/tier_planes.h"

#include <cmath>
#include <cstdlib>

#include "facet_placement/placement.h"

namespace brevix {

Plane planeOf(double angle, double index, double ced, int32_t gear, double indexOffset) {
    // A level facet has no azimuth; facing down it carries a negative depth.
    const double tilt = angle * PI / 180;
    const double azimuth = gear == 0 ? 0.0 : azimuthOf(index, gear, indexOffset);
    Vec3 n = {std::sin(azimuth) * std::sin(tilt) / ced, std::cos(azimuth) * std::sin(tilt) / ced,
              std::cos(tilt) / ced};
    const double k = 1 / length(n);
    n = n * k;
    if (tilt < 0) n = n * -1.0;
    return {n.x, n.y, n.z, k};
}

std::vector<Plane> planesOfTier(const TierIntent& tier, int32_t gear, double indexOffset) {
    std::vector<Plane> planes;
    planes.reserve(tier.indexes.size());
    for (double v : tier.indexes) planes.push_back(planeOf(tier.angle, v, tier.ced, gear, indexOffset));
    return planes;
}

double angleOfPlane(const Plane& p) {
    double angle = std::atan2(std::sqrt(p.a * p.a + p.b * p.b), p.c) * DEG_PER_RAD;
    while (angle < -90) angle += 180;
    while (angle > 90) angle -= 180;
    return angle;
}

double indexOfPlane(const Plane& p, int32_t gear, double indexOffset) {
    if (gear == 0) return 0;
    if (std::fabs(p.a) < EPS && std::fabs(p.b) < EPS) return gear;
    const double notches = std::abs(gear);
    double i = indexAtAzimuth(std::atan2(p.a, p.b), gear, indexOffset);
    i = std::fmod(i, notches);
    if (i < 0) i += notches;
    if (std::fabs(i) < EPS) i += notches;
    // Whole and simple fractional notches are kept as the cutter typed them.
    const double snapped = std::round(i * 1e6) / 1e6;
    if (std::fabs(snapped - i) < 1e-9) i = snapped;
    return i;
}

bool sameIndex(double a, double b, int32_t gear) {
    const double notches = std::abs(gear);
    double d = std::fabs(a - b);
    if (notches > 0) {
        d = std::fmod(d, notches);
        d = std::min(d, notches - d);
    }
    return d < 0.001;
}

int32_t positionInTier(const TierIntent& tier, double index, int32_t gear) {
    for (size_t k = 0; k < tier.indexes.size(); ++k)
        if (sameIndex(tier.indexes[k], index, gear)) return int32_t(k);
    return -1;
}

double depthThrough(double angle, double index, Vec3 p, int32_t gear, double indexOffset) {
    const Plane unit = planeOf(angle, index, 1.0, gear, indexOffset);
    return unit.a * p.x + unit.b * p.y + unit.c * p.z;
}

double shownIndex(double angle, double index, int32_t gear) {
    const double notches = std::abs(gear);
    double shown = angle < 0 ? notches - index : index;
    if (notches > 0) {
        shown = std::fmod(shown, notches);
        if (shown < 0) shown += notches;
        if (shown < 0.001 || notches - shown < 0.001) shown = notches;
    }
    return shown;
}

}  // namespace brevix
