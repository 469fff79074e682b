#pragma once
// The four view's pick state between mouse messages: what lies under the
// pointer, what is highlighted, where the marker and the crosshair stand,
// and the status-bar text that describes it. The window feeds it pointer
// positions and keys and draws what `drawOverlay` gives over its picture of
// the stone, so everything the user sees while hovering is decided here.
//
// Highlights are recorded into device primitives when they change, while
// the stone holds the projection of their pane; drawing the overlay later
// needs no classification, so another view classifying the same stone in
// between (the spin view, a printout) cannot put a highlight in the wrong place.
#include <string>
#include <vector>

#include "kernel/stone.h"
#include "views/picking.h"
#include "views/recording_canvas.h"
#include "views/view.h"

namespace brevix {

// Pick tolerance in pixels; Ctrl halves it and leaves the meet points out.
constexpr double PICK_TOLERANCE = 2;
constexpr double FINE_PICK_TOLERANCE = 1;

// A release counts as a click when it is this close (|dx| + |dy| below it)
// to where the button went down.
constexpr int CLICK_SLOP = 3;
bool isClick(int downX, int downY, int upX, int upY);

// The status-bar text of a pick, in the core's code page (the degree sign
// is the byte 0xB0).
std::string pickStatusText(const Stone* stone, const PickResult& pick);

class PickState {
public:
    // ---- what the widget reports ------------------------------------------
    // A mouse move to (x, y) over the panes of the last paint. Re-classifies
    // the stone for the pane under the pointer, picks, updates highlight and
    // marker, and returns the status-bar text.
    std::string hover(Stone* stone, std::vector<View>& panes, double x, double y, bool shift,
                      bool ctrl);
    // A click: the anchor moves to the pick position.
    void clicked();
    // Key C: the crosshair through the pick position, or off again.
    void toggleCrosshair();
    // A paint of the whole view: nothing of the hover survives it.
    void forget();

    // ---- what the widget draws --------------------------------------------
    // Highlight, marker and crosshair, in that order, each in the raster
    // operation that makes a second drawing erase it.
    void drawOverlay(Canvas& canvas) const;

    // ---- the state ----------------------------------------------------------
    int markerShown = 0;
    double markerX = 0, markerY = 0;
    char markerShape = 0;
    double pickX = 0, pickY = 0;
    double anchorX = 0, anchorY = 0;
    int crosshairShown = 0;
    // Each window's four view keeps its own crosshair: two windows (or two
    // tests) never move each other's.
    double crosshairX = 0, crosshairY = 0;
    int highlightShown = 0;
    int highlightPane = -1;
    int highlightIndex = -1;
    PickKind highlightKind = PickNone;
    int lastHoverPane = -1;
    PickKind pickKind = PickNone;
    int pickIndex = -1;
    Vec3 pickPoint{};
    int pickPane = -1;  // the pane under the pointer (-1: none)

private:
    void recordHighlight(Stone& stone, View& view);
    std::vector<Primitive> highlight_;
};

// The marker shape of a kind ('+', '.', 'O', 'X'), 0 for none.
char markerShapeOf(PickKind kind);
// The lines of a marker at the pixel (x, y).
void drawMarker(Canvas& canvas, char shape, int x, int y);
void drawCrosshair(Canvas& canvas, int x, int y);

}  // namespace brevix
