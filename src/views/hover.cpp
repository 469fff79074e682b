#include "views/hover.h"

#include <cmath>
#include <cstdlib>

#include "platform/strformat.h"
#include "views/stone_drawing.h"
#include "views/view_style.h"

namespace brevix {

namespace {

constexpr Rgb HIGHLIGHT_FILL{220, 255, 220};

std::string coordinateText(Vec3 p) { return strprintf("(%6.3f,%6.3f,%6.3f)", p.x, p.y, p.z); }

}  // namespace

bool isClick(int downX, int downY, int upX, int upY) {
    return std::abs(upX - downX) + std::abs(upY - downY) < CLICK_SLOP;
}

char markerShapeOf(PickKind kind) {
    switch (kind) {
    case PickMarginFacet: return '.';
    case PickFacet: return '+';
    case PickMeet: return 'O';
    case PickEdge: return 'X';
    default: return 0;
    }
}

std::string pickStatusText(const Stone* stone, const PickResult& pick) {
    switch (pick.kind) {
    case PickNone: return "Ready";
    case PickGearLabel: return "Click to select index gear";
    case PickSpace: return coordinateText(pick.point);
    case PickMeet: return coordinateText(pick.point) + " Meet";
    case PickEdge: return coordinateText(pick.point) + " Edge";
    case PickMarginFacet:
    case PickFacet: {
        if (!stone || pick.index < 0 || pick.index >= stone->nFacet) return coordinateText(pick.point);
        // A zero gear has no indexes; the stone's query would say so on
        // every move of the mouse.
        const double index = stone->gear == 0 ? 0 : stone->facetIndexOf(pick.index);
        return strprintf("%s Facet %s %.2f\xB0 %.1f ", coordinateText(pick.point).c_str(),
                         stone->facetName(pick.index).c_str(), stone->facetAngleOf(pick.index),
                         index);
    }
    }
    return {};
}

void drawMarker(Canvas& canvas, char shape, int x, int y) {
    switch (shape) {
    case '+':
        canvas.line(x, y - 3, x, y + 4);
        canvas.line(x - 3, y, x + 4, y);
        break;
    case '.': {
        const Point square[] = {{x - 1, y - 1}, {x + 1, y - 1}, {x + 1, y + 1}, {x - 1, y + 1},
                                {x - 1, y - 1}};
        canvas.polyline(square);
        break;
    }
    case 'O': {
        const Point octagon[] = {{x - 4, y - 2}, {x - 2, y - 4}, {x + 2, y - 4}, {x + 4, y - 2},
                                 {x + 4, y + 2}, {x + 2, y + 4}, {x - 2, y + 4}, {x - 4, y + 2},
                                 {x - 4, y - 2}};
        canvas.polyline(octagon);
        break;
    }
    case 'X':
        canvas.line(x - 3, y - 3, x + 4, y + 4);
        canvas.line(x - 3, y + 3, x + 4, y - 4);
        break;
    default:
        break;
    }
}

void drawCrosshair(Canvas& canvas, int x, int y) {
    canvas.line(x - 2000, y, x + 4000, y);
    canvas.line(x, y - 2000, x, y + 4000);
}

std::string PickState::hover(Stone* stone, std::vector<View>& panes, double x, double y,
                             bool shift, bool ctrl) {
    PickResult found;
    int pane = -1;
    for (int k = 0; k < static_cast<int>(panes.size()) && pane < 0; ++k) {
        View& view = panes[k];
        if (view.inGearLabel(static_cast<int>(x), static_cast<int>(y))) {
            pane = k;
            crosshairShown = 0;
            if (stone) classify(*stone, view);
            found.kind = PickGearLabel;
            found.x = x;
            found.y = y;
        } else if (view.inViewport(x, y)) {
            pane = k;
            double px = x, py = y;
            if (shift) {
                // Along the axis of the larger movement from the last click.
                if (std::fabs(px - anchorX) >= std::fabs(py - anchorY))
                    py = anchorY;
                else
                    px = anchorX;
            }
            if (!stone) {
                found.kind = PickSpace;
                found.point = view.unproject(px, py, 0);
                found.x = px;
                found.y = py;
                anchorX = px;
                anchorY = py;
            } else {
                // Always classified: the spin view, the printed diagram and
                // the clipboard picture classify the same stone for their own
                // projections between two moves.
                classify(*stone, view);
                found = ctrl ? pick(*stone, px, py, view, FINE_PICK_TOLERANCE, true)
                             : pick(*stone, px, py, view, PICK_TOLERANCE, false);
            }
        }
    }
    lastHoverPane = pane;
    pickPane = pane;
    pickKind = found.kind;
    pickIndex = found.index;
    pickPoint = found.point;
    pickX = found.x;
    pickY = found.y;

    // A highlight stays while the same thing stays under the pointer.
    const bool same = highlightShown && highlightKind == pickKind && highlightIndex == pickIndex &&
                      highlightPane == pane;
    if (!same) {
        highlight_.clear();
        highlightShown = 0;
        if (pickKind != PickNone) {
            if (stone && pane >= 0) recordHighlight(*stone, panes[pane]);
            highlightShown = 1;
            highlightKind = pickKind;
            highlightIndex = pickIndex;
            highlightPane = pane;
        }
    }

    markerShape = markerShapeOf(pickKind);
    markerShown = markerShape != 0;
    markerX = pickX;
    markerY = pickY;
    return pickStatusText(stone, found);
}

void PickState::recordHighlight(Stone& stone, View& view) {
    RecordingCanvas recorder;
    recorder.setPen(HIGHLIGHT_PEN);
    recorder.setRasterOp(RasterOp::NotXorPen);
    recorder.setFont(VIEW_FONT);
    recorder.setTextAlign({HAlign::Center, VAlign::Baseline});
    Canvas* before = view.dc;
    view.setDC(&recorder);
    switch (pickKind) {
    case PickMarginFacet:
        drawFacetOutline(stone, pickIndex, view);
        break;
    case PickFacet:
        view.fillbrush(true, HIGHLIGHT_FILL.r, HIGHLIGHT_FILL.g, HIGHLIGHT_FILL.b);
        fillFacet(stone, pickIndex, view);
        view.fillbrush(false);
        drawFacetOutline(stone, pickIndex, view);
        break;
    case PickEdge:
        drawEdge(stone, pickIndex, view);
        break;
    case PickGearLabel:
        view.redrawGearLabel();
        break;
    default:
        break;
    }
    view.setDC(before);
    highlight_ = std::move(recorder.primitives);
}

void PickState::clicked() {
    anchorX = pickX;
    anchorY = pickY;
}

void PickState::toggleCrosshair() {
    if (pickX == crosshairX && pickY == crosshairY) {
        crosshairShown = !crosshairShown;
        return;
    }
    crosshairX = pickX;
    crosshairY = pickY;
    crosshairShown = 1;
}

void PickState::forget() {
    markerShown = 0;
    crosshairShown = 0;
    highlightShown = 0;
    highlightPane = -1;
    highlightIndex = -1;
    highlightKind = PickNone;
    highlight_.clear();
    pickKind = PickNone;
    pickIndex = -1;
    pickPane = -1;
    lastHoverPane = -1;
}

void PickState::drawOverlay(Canvas& canvas) const {
    canvas.save();
    replay(highlight_, canvas);
    canvas.setPen(MARKER_PEN);
    canvas.setBrush(NULL_BRUSH);
    canvas.setRasterOp(RasterOp::NotXorPen);
    if (markerShown) drawMarker(canvas, markerShape, toPixel(markerX), toPixel(markerY));
    if (crosshairShown) drawCrosshair(canvas, toPixel(crosshairX), toPixel(crosshairY));
    canvas.restore();
}

}  // namespace brevix
