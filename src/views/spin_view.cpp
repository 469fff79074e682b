#include "views/spin_view.h"

#include <cmath>
#include <span>

#include "platform/strformat.h"
#include "views/stone_drawing.h"
#include "views/view_style.h"

namespace brevix {

namespace {

constexpr double TEN_DEGREES = 0.17453292519943295;
// Past this tilt the stone is seen from below, so a drag to the right must
// turn it the other way to keep following the pointer.
constexpr double UPSIDE_DOWN_TILT = 1.8849555921538759;  // 108 degrees
// The wrap limits sit a hair beyond pi and 2 pi so that an angle landing
// exactly on them is left alone.
constexpr double TILT_LIMIT = 3.141592663589793;
constexpr double TURN_LIMIT = 6.283185297179586;

void wrapTilt(double& tilt) {
    if (tilt > TILT_LIMIT) tilt -= TWO_PI;
    if (tilt < -TILT_LIMIT) tilt += TWO_PI;
}

void wrapTurn(double& angle) {
    if (angle < -EPS) angle += TWO_PI;
    if (angle > TURN_LIMIT) angle -= TWO_PI;
}

double snapped(double angle) {
    if (!std::isfinite(angle)) return 0;
    angle = std::fmod(angle, TWO_PI);  // same as stepping by 2 pi, without the loop
    while (angle < -EPS) angle += TWO_PI;
    while (angle > TURN_LIMIT) angle -= TWO_PI;
    int k = static_cast<int>(angle / TEN_DEGREES + 0.5);
    if (k == 36) k = 0;
    return k * PI / 18;
}

}  // namespace

void SpinControl::buttonDown(int x, int y, bool shift) {
    dragging = true;
    lastX = x;
    lastY = y;
    spinMode = shift;
}

bool SpinControl::drag(int x, int y) {
    if (!dragging) return false;
    const double dx = (x - lastX) / DRAG_PIXELS_PER_RADIAN;
    const double dy = (y - lastY) / DRAG_PIXELS_PER_RADIAN;
    if (spinMode) {
        angles.spin += dx;
        wrapTurn(angles.spin);
    } else {
        if (std::fabs(angles.tilt) >= UPSIDE_DOWN_TILT)
            angles.azimuth -= dx;
        else
            angles.azimuth += dx;
        angles.tilt += dy;
        wrapTilt(angles.tilt);
        wrapTurn(angles.azimuth);
    }
    lastX = x;
    lastY = y;
    return true;
}

void SpinControl::snap() {
    angles.tilt = snapped(angles.tilt);
    // Back into the range dragging keeps the tilt in: a snapped -10 degrees
    // must not read as 350, which would turn later drags the wrong way.
    wrapTilt(angles.tilt);
    angles.azimuth = snapped(angles.azimuth);
    angles.spin = snapped(angles.spin);
}

double tiltFromTop(const SpinAngles& angles) {
    return std::fabs(angles.tilt * 180 / PI - 90);
}

std::string tiltOverlayText(const SpinAngles& angles) {
    return strprintf("%5.1f", tiltFromTop(angles));
}

std::string spinStatusText(const SpinAngles& angles) {
    return strprintf("%6.1f %6.1f %6.1f", tiltFromTop(angles), angles.azimuth * 180 / PI,
                     angles.spin * 180 / PI);
}

void setupSpinPane(View& view, const DrawingSquare& sq, const SpinAngles& angles) {
    const double a = angles.azimuth, t = angles.tilt;
    view.setWindow(-1.2, 1.2, -1.2, 1.2);
    // The square's own side, downward whatever the sign of the height: the
    // spin view is never drawn in a mapping with y up.
    view.setViewport(sq.left, sq.left + sq.side, sq.top + sq.side, sq.top, VIEW_MARGIN);
    view.setXAxis({std::cos(a), std::sin(a), 0});
    view.setYAxis({std::sin(a) * std::sin(t), -std::cos(a) * std::sin(t), std::cos(t)});
    view.setName("tilted");
    view.setup(angles.spin);
}

std::optional<std::string> drawSpinView(Stone* stone, Canvas& canvas, const Rect& client,
                                        const SpinAngles& angles, const SpinViewOptions& options,
                                        View& pane) {
    if (!stone) return std::nullopt;
    if (!options.printing) {
        canvas.setPen(BACKGROUND_PEN);
        canvas.setBrush(BACKGROUND_BRUSH);
        canvas.rectangle(client);
    }
    canvas.setPen(BLACK_PEN);
    canvas.setBrush(WHITE_BRUSH);

    const DrawingSquare sq = drawingSquare(client);
    pane = View{};
    pane.setDC(&canvas);
    if (options.printing) {
        canvas.line(sq.left, sq.top, sq.left, sq.top);
        const int right = sq.left + sq.side, bottom = sq.top + sq.sigma * sq.side;
        canvas.line(right, bottom, right, bottom);
    }
    setupSpinPane(pane, sq, angles);
    pane.setInteractive(!options.printing);
    canvas.setTextAlign({HAlign::Center, VAlign::Baseline});
    if (!options.printing) canvas.setFont(VIEW_FONT);

    std::span<View> panes(&pane, 1);
    const bool preform = stone->preform != nullptr;
    canvas.setPen(HIDDEN_LINE_PEN);
    if (preform) drawPreformPanes(*stone, panes, DRAW_HIDDEN);
    drawStonePanes(*stone, panes, DRAW_SILHOUETTE | (options.hiddenLines ? DRAW_HIDDEN : 0u));
    canvas.setPen(BLACK_PEN);
    drawStonePanes(*stone, panes, DRAW_VISIBLE);
    canvas.setPen(RAY_PEN);
    drawStonePanes(*stone, panes, DRAW_RAYS);
    if (preform) {
        canvas.setPen(PREFORM_PEN);
        drawPreformPanes(*stone, panes, DRAW_VISIBLE);
    }
    canvas.setPen(BLACK_PEN);
    drawStonePanes(*stone, panes, DRAW_LABELS);

    if (stone->nFacet == stone->nRough || options.printing) return std::nullopt;
    canvas.setTextAlign({HAlign::Left, VAlign::Bottom});
    canvas.text(client.left, client.bottom, tiltOverlayText(angles));
    return spinStatusText(angles);
}

}  // namespace brevix
