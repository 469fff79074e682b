#include "views/pane_layout.h"

#include <cstdlib>

namespace brevix {

DrawingSquare drawingSquare(const Rect& client) {
    DrawingSquare sq{client.left, client.top, 0, 1};
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int tall = std::abs(height);
    if (width > tall) {
        sq.left += (width - tall) / 2;
        sq.side = tall;
    } else {
        sq.side = width;
        if (height > 0)
            sq.top += (height - width) / 2;
        else
            sq.top -= (-height - width) / 2;
    }
    sq.sigma = height >= 0 ? 1 : -1;
    return sq;
}

}  // namespace brevix
