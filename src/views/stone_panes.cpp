#include "design/measures.h"
#include "views/stone_drawing.h"

namespace brevix {

void drawStonePanes(Stone& stone, std::span<View> panes, unsigned what) {
    FacetLabelCenters(stone);
    computeBounds(stone);
    computeVolume(stone);
    for (View& view : panes) drawStone(stone, view, what);
}

void drawPreformPanes(Stone& stone, std::span<View> panes, unsigned what) {
    if (stone.preform) drawStonePanes(*stone.preform, panes, what);
}

}  // namespace brevix
