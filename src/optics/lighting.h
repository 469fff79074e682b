#pragma once
// How the room lights the stone: the directions light comes from and what
// each is worth. The viewer looks straight down (along -z); light that
// leaves the stone going in direction L came, on the real path, from L.
#include <cmath>
#include <optional>

#include "optics/environment.h"

namespace brevix::optics {

enum class LightModel {
    Iso,  // every lit direction gives 1
    Cos,  // a lit direction gives the cosine of its angle from the vertical
};

struct Lighting {
    // Directions within this many degrees of the vertical are lit; none
    // from below the girdle plane whatever the cone.
    double coneDegrees = 60.0;
    // A cone of this many degrees around the viewing direction, where the
    // viewer's own head stands, gives nothing; 0 = no head shadow.
    double headShadowDegrees = 0.0;
    // The room (optics/environment.h); ISO and COS pictures come with every
    // render, the cone above shapes only them.
    Environment environment = Environment::Iso;
};

constexpr double DEFAULT_CONE_DEGREES = 60.0;
// The head shadow contrast is judged with when the lighting has none: a
// person looking at a stone always shades the part of the room behind
// their head, and that shade is what draws the pattern of a well-cut
// stone. Ten degrees is a head about 12 cm wide at 35 cm.
constexpr double OBSERVER_HEAD_DEGREES = 10.0;

// The lighting with its cosines worked out once, so scoring an outgoing
// direction is a few comparisons.
struct LightingTest {
    double coneCos;       // lit when L.z >= coneCos
    double shadowCos;     // dark when L.z > shadowCos (2 = no shadow)
    double observerCos;   // dark to the observer when L.z > observerCos (the shadow, or the observer's head)
    double gx, gy, gz;    // the girdle plane's upward normal, in the viewer's frame
    bool aset = false;    // the ASET picture is rendered
    double redSin;        // ASET red from this sine of the height over the girdle plane
    std::optional<RoomLight> room;  // an office, spot or dome picture is rendered

    LightingTest(const Lighting& lighting, double tiltRadians);

    // The ISO and COS scores of a unit direction (x, y, z) leaving the stone.
    bool lit(double x, double y, double z) const {
        return z >= coneCos && z <= shadowCos && x * gx + y * gy + z * gz > 0.0;
    }
    // A lit direction the observer's head does not shade.
    bool observed(double z) const { return z <= observerCos; }
    bool hasScene() const { return aset || room.has_value(); }
};

}  // namespace brevix::optics
