#pragma once
// A facet plane in the binary format is stored as its pole: the normal
// divided by the distance in file units. The reader turns a pole back into
// a plane; the writer picks, among the poles next to the formula's, one that
// the reader turns back into exactly the plane it has, so that a design read
// from a file and saved again gives the same bytes.
#include <array>

#include "kernel/stone.h"

namespace brevix {

struct GemPlane {
    double a, b, c, d;
};

// The plane of a pole (whose length must be finite and above 0).
GemPlane planeOfPole(double x, double y, double z);

// The pole stored for the facet: normal * 0.9 / d, unless that reads back as
// a plane a few units in the last place away while a pole within two units
// in the last place of each component reads back exactly.
std::array<double, 3> poleOf(const Facet& facet);

}  // namespace brevix
