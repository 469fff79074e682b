#pragma once
// The Qt-free side of the rotating view: the three angles and how the mouse
// and the space bar change them, the single tilted pane, and the drawing of
// stone and preform onto a canvas. The widget forwards its events here and
// repaints when told to.
#include <optional>
#include <string>

#include "kernel/stone.h"
#include "views/pane_layout.h"
#include "views/view.h"

namespace brevix {

struct SpinAngles {
    double azimuth = -0.6981317007977318;  // -40 degrees
    double tilt = 0.17453292519943295;     // 10 degrees
    double spin = 0;
};

// Dragging with the left button turns azimuth and tilt; with Shift held at
// the button press it spins the picture in its own plane instead.
class SpinControl {
public:
    SpinAngles angles;
    bool dragging = false;
    int lastX = 0, lastY = 0;
    bool spinMode = false;

    void buttonDown(int x, int y, bool shift);
    // One drag step; true when the angles changed and the view wants a repaint.
    bool drag(int x, int y);
    void buttonUp() { dragging = false; }
    // Space: every angle to the nearest multiple of 10 degrees.
    void snap();
};

// Pixels of drag per radian of turn.
constexpr double DRAG_PIXELS_PER_RADIAN = 150;

// The tilt away from looking straight down, in degrees.
double tiltFromTop(const SpinAngles& angles);
// "%5.1f" of tiltFromTop: the corner overlay.
std::string tiltOverlayText(const SpinAngles& angles);
// "%6.1f %6.1f %6.1f": tilt from top, azimuth and spin in degrees, for the status bar.
std::string spinStatusText(const SpinAngles& angles);

// Sets up the single pane "tilted" in the square of the client rectangle.
void setupSpinPane(View& view, const DrawingSquare& square, const SpinAngles& angles);

struct SpinViewOptions {
    bool hiddenLines = false;
    bool printing = false;  // printer or clipboard picture
};

// Paints the spin view; nothing without a stone. Returns the status-bar text
// when the widget should show it (a stone with cut facets, on screen); the
// tilt overlay is then already drawn in the bottom-left corner.
std::optional<std::string> drawSpinView(Stone* stone, Canvas& canvas, const Rect& client,
                                        const SpinAngles& angles, const SpinViewOptions& options,
                                        View& pane);

}  // namespace brevix
