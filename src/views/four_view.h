#pragma once
// The four orthographic panes of a stone (top, side, bottom, end) in one
// square, or one of them zoomed to fill it. The GUI's CFourView paints
// through drawFourView, and so do the clipboard picture (printing set: no
// background, no origin marks, corner marks instead) and any other picture
// of the four view.
//
// Picking (hover, click, the gear label) works on the panes drawFourView
// leaves behind: find the pane under the pointer by its viewport, classify
// the stone for it, then compare the stone's pixel fields.
#include <array>
#include <vector>

#include "kernel/stone.h"
#include "views/pane_layout.h"
#include "views/view.h"

namespace brevix {

// Pane numbers, as the Zoom commands name them.
enum FourViewPane : int { PANE_TOP = 0, PANE_SIDE = 1, PANE_BOTTOM = 2, PANE_END = 3 };

struct FourViewOptions {
    bool hiddenLines = false;
    // Drawing into a printer or a clipboard picture.
    bool printing = false;
    bool zoomed = false;
    int zoomPane = PANE_TOP;
};

// Sets up pane k (0..3) of the square; zoomed, that pane fills the whole square.
void setupFourViewPane(View& view, int k, const DrawingSquare& square, bool zoomed);

// Draws the whole four view of `stone` (none: just the origin marks) into
// the client rectangle. `panes` receives the panes drawn (four, or one when
// zoomed) with their projections, for picking afterwards.
void drawFourView(Stone* stone, Canvas& canvas, const Rect& client, const FourViewOptions& options,
                  std::vector<View>& panes);

}  // namespace brevix
