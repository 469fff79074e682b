#pragma once
// The square the four view and the spin view draw in: the largest square
// centred in the client rectangle. In a mapping with y up the rectangle's
// height is negative and the square runs downward from its top (sigma = -1).
#include "views/canvas.h"

namespace brevix {

struct DrawingSquare {
    int left = 0, top = 0;
    int side = 0;
    int sigma = 1;  // +1 when the height is >= 0, else -1
    friend bool operator==(const DrawingSquare&, const DrawingSquare&) = default;
};

DrawingSquare drawingSquare(const Rect& client);

}  // namespace brevix
