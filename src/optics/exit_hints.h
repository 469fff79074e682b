#pragma once
// Neighbouring pixels mostly leave the stone by the same facets in the same
// order. Whether a ray leaves by the plane its neighbour left by can be
// settled from the few planes that come near that plane's face instead of
// from all of them: if the ray meets the plane before each of those, the
// point it meets lies on the face, and every other plane is far enough
// away that single-precision rounding cannot make it look nearer. Where
// that cannot be promised (a crowded face, a neighbour meeting the face at
// a very flat angle), the plane has no hint and the full search decides.
#include <cstdint>
#include <vector>

#include "kernel/stone.h"

namespace brevix::optics {

// Planes in a hint block, checked as two halves of eight (the second only
// when the face has more than eight planes near it); a face with more than
// sixteen has no hint.
constexpr int HINT_LANES = 16;
constexpr int HINT_HALF = HINT_LANES / 2;
// A ray meeting a plane at a flatter angle (the cosine between its
// direction and the normal) is left to the full search: its distance is
// too uncertain in single precision.
constexpr float MIN_HINTED_COS = 0.05f;
// Pictures narrower than this are traced without guesses: their
// neighbouring pixels lie too far apart to leave by the same planes often
// enough to pay for the guessing.
constexpr int MIN_HINTED_SIZE = 256;
// Below this the hints are not even built: entries alone do not win back
// their making, which grows with the square of the planes (a quarter of a
// 64-pixel picture of a 321-facet design).
constexpr int MIN_HINTED_ENTRY_SIZE = 128;

// A hint block's half h holds its a, then b, c and d, each HINT_HALF lanes.
constexpr int HINT_FLOATS = 4 * HINT_LANES;

struct ExitHints {
    // HINT_LANES planes per plane of the search, HINT_FLOATS floats a
    // plane, padded with (0, 0, 0, 1), which no ray heads for.
    std::vector<float> blocks;
    // Per plane: the halves of its block to check, 0 where it has no hint.
    std::vector<uint8_t> halves;
    // A point of a plane lies on its face, with room for the rounding of
    // single precision, when it is this far inside every plane of the
    // plane's block: the other planes then all lie clearly beyond it.
    float clearance = 0;
};

// The hints of the planes a x + b y + c z <= d (the search's order, turned
// by the tilt), `facetOf` the stone's facet of each (-1 for padding); the
// stone's vertices are turned by the same tilt about x.
ExitHints exitHintsOf(const Stone& stone, double tiltRadians, const std::vector<double>& a,
                      const std::vector<double>& b, const std::vector<double>& c, const std::vector<double>& d,
                      const std::vector<int>& facetOf);

}  // namespace brevix::optics
