#include "views/four_view.h"

#include <algorithm>

#include "views/stone_drawing.h"
#include "views/view_style.h"

namespace brevix {

namespace {

struct PaneSetting {
    const char* name;
    Vec3 u, v;
    WorldWindow window;
};

// Each window is 2.3 units square, shifted 0.05 toward the middle of the
// square so that the four origins sit nearer one another.
constexpr PaneSetting PANES[4] = {
    {"top", {1, 0, 0}, {0, -1, 0}, {-1.2, 1.1, -1.1, 1.2}},
    {"side", {0, 0, -1}, {0, -1, 0}, {-1.1, 1.2, -1.1, 1.2}},
    {"bottom", {-1, 0, 0}, {0, -1, 0}, {-1.1, 1.2, -1.2, 1.1}},
    {"end", {1, 0, 0}, {0, 0, 1}, {-1.2, 1.1, -1.2, 1.1}},
};
constexpr WorldWindow ZOOMED_WINDOW{-1.15, 1.15, -1.15, 1.15};

void markOrigin(View& view) {
    view.moveTo3({});
    view.moveRel(-1, 0);
    view.lineRel(2, 0);
    view.moveTo3({});
    view.moveRel(0, -1);
    view.lineRel(0, 2);
    view.lineRel(1, 1);
}

}  // namespace

void setupFourViewPane(View& view, int k, const DrawingSquare& sq, bool zoomed) {
    k = std::clamp(k, 0, 3);
    const PaneSetting& pane = PANES[k];
    const double left = sq.left, top = sq.top, s = sq.side, ss = sq.sigma * sq.side;
    view.setXAxis(pane.u);
    view.setYAxis(pane.v);
    if (zoomed) {
        view.setWindow(ZOOMED_WINDOW.x1, ZOOMED_WINDOW.x2, ZOOMED_WINDOW.y1, ZOOMED_WINDOW.y2);
        view.setViewport(left, left + s, top + ss, top, VIEW_MARGIN);
    } else {
        view.setWindow(pane.window.x1, pane.window.x2, pane.window.y1, pane.window.y2);
        // Integer halving, as the pixels of the panes meet.
        const int half = sq.side / 2, sigmaHalf = sq.sigma * sq.side / 2;
        const double x1 = k == PANE_TOP || k == PANE_END ? left : left + half;
        const double x2 = k == PANE_TOP || k == PANE_END ? left + half : left + s;
        const double y1 = k == PANE_TOP || k == PANE_SIDE ? top + sigmaHalf : top + ss;
        const double y2 = k == PANE_TOP || k == PANE_SIDE ? top : top + sigmaHalf;
        view.setViewport(x1, x2, y1, y2, VIEW_MARGIN);
    }
    view.setName(pane.name);
    view.setup(0);
}

void drawFourView(Stone* stone, Canvas& canvas, const Rect& client, const FourViewOptions& options,
                  std::vector<View>& panes) {
    if (!options.printing) {
        canvas.setPen(BACKGROUND_PEN);
        canvas.setBrush(BACKGROUND_BRUSH);
        canvas.rectangle(client);
    }
    canvas.setPen(options.printing ? PRINT_PEN : BLACK_PEN);
    canvas.setBrush(WHITE_BRUSH);
    const DrawingSquare sq = drawingSquare(client);
    if (options.printing) {
        // Zero-length lines at two corners fix the extent of the picture.
        canvas.line(sq.left, sq.top, sq.left, sq.top);
        const int right = sq.left + sq.side, bottom = sq.top + sq.sigma * sq.side;
        canvas.line(right, bottom, right, bottom);
    }
    canvas.setTextAlign({HAlign::Center, VAlign::Baseline});

    const int count = options.zoomed ? 1 : 4;
    panes.assign(count, View{});
    for (int i = 0; i < count; ++i) {
        View& view = panes[i];
        view.setDC(&canvas);
        setupFourViewPane(view, options.zoomed ? options.zoomPane : i, sq, options.zoomed);
        view.setInteractive(!options.printing);
        if (!options.printing) markOrigin(view);
    }
    if (!options.printing) canvas.setFont(VIEW_FONT);
    if (!stone) return;

    canvas.setPen(HIDDEN_LINE_PEN);
    drawStonePanes(*stone, panes, DRAW_SILHOUETTE | (options.hiddenLines ? DRAW_HIDDEN : 0u));
    canvas.setPen(RAY_PEN);
    drawStonePanes(*stone, panes, DRAW_RAYS);
    canvas.setPen(BLACK_PEN);
    drawStonePanes(*stone, panes, DRAW_VISIBLE | DRAW_LABELS);
}

}  // namespace brevix
