#pragma once
// Operations on the whole design at once: turn it over, rotate or tilt it,
// scale or stretch it, move its centre, build one half as the image of the
// other, sort the cutting order and rename the tiers in sequence.
#include <cstdint>

#include "kernel/geometry.h"
#include "kernel/stone.h"

namespace brevix {

// Bits of scaleStone's `sides`.
enum ScaleSide : int {
    SCALE_MINUS_X = 1,
    SCALE_PLUS_X = 2,
    SCALE_MINUS_Y = 4,
    SCALE_PLUS_Y = 8,
    SCALE_PAVILION = 16,
    SCALE_CROWN = 32,
    SCALE_ALL = 63,
};

// Bits of centerStone's `axes`, and its modes.
enum CenterAxis : int { CENTER_X = 1, CENTER_Y = 2, CENTER_Z = 4 };
enum CenterMode : int { CENTER_OF_MASS = 1, CENTER_OF_BOX = 2, CENTER_ON_POINT = 0 };

// Turns the stone over: crown and pavilion change places (preforms too).
void transfer(Stone& stone);

// Axis 0 = x (tilt), 1 = y (tilt), 2 = z (stone only), 3 = z with the index
// gear, so every facet keeps its index. Angle in radians.
void rotateStone(Stone& stone, int axis, double angle);

// Scales the sides given as ScaleSide bits by `factor` (0 = fit the unit
// cube). Uses the Stats of the last computeBounds.
void scaleStone(Stone& stone, int sides, double factor);

// Changes the crown height (side != -1) or the pavilion depth (side == -1)
// by `factor`, keeping the girdle. Uses the Stats of the last computeBounds.
void stretchHeight(Stone& stone, int side, double factor);

// Moves the point chosen by `mode` (CenterMode; the given point otherwise)
// to the origin along the CenterAxis bits. Uses the Stats of the last
// computeBounds / computeVolume. Refuses (returns false, changes nothing) a
// point that is not inside the stone: every plane must keep the origin
// strictly inside.
bool centerStone(Stone& stone, int axes, int mode, Vec3 point = {});

// Keeps one half (0 = -y, 1 = +x, 2 = -x, 3 = +y) and replaces the other by
// its mirror image, or by its half-turn image when `flip` is set.
void reflectHalf(Stone& stone, int side, bool flip);

// 0 = pavilion-girdle-crown, 1 = girdle-pavilion-crown,
// 2 = girdle-crown-pavilion, 3 = crown-girdle-pavilion.
void sortCuttingOrder(Stone& stone, int order);

// Style 0 = 1, 2, 3 ...; 1 = A, B, C ... (AA, BB after Z); 2 = P1, P2 ... on
// the pavilion and C1, C2 ... on the crown.
void renameInSequence(Stone& stone, int pavilionStyle, int crownStyle);

}  // namespace brevix
