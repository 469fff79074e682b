#include "optics/lighting.h"

#include "kernel/geometry.h"

namespace brevix::optics {

LightingTest::LightingTest(const Lighting& lighting, double tiltRadians) {
    coneCos = std::cos(lighting.coneDegrees / DEG_PER_RAD);
    shadowCos = lighting.headShadowDegrees > 0.0 ? std::cos(lighting.headShadowDegrees / DEG_PER_RAD)
                                                 : 2.0;
    observerCos = std::cos((lighting.headShadowDegrees > 0.0 ? lighting.headShadowDegrees : OBSERVER_HEAD_DEGREES) /
                           DEG_PER_RAD);
    // The stone's +z axis after the tilt about x.
    gx = 0.0;
    gy = -std::sin(tiltRadians);
    gz = std::cos(tiltRadians);
    aset = lighting.environment == Environment::Aset;
    redSin = std::sin(ASET_RED_DEGREES / DEG_PER_RAD);
    if (optics::hasScene(lighting.environment) && !aset) room.emplace(lighting.environment);
}

}  // namespace brevix::optics
