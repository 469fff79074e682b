// Picking in the four view's panes: what lies under chosen pixels of each
// pane of the round brilliant, the tolerances and their edge cases, and the
// hover state (highlight, marker, status text, Shift, crosshair, panes).
#include <gtest/gtest.h>

#include <cmath>

#include "design/sample_designs.h"
#include "views/four_view.h"
#include "views/hover.h"
#include "views/picking.h"
#include "views/recording_canvas.h"
#include "views/stone_drawing.h"
#include "views/view_style.h"

namespace brevix {
namespace {

int32_t facetNamed(const Stone& stone, const std::string& name, double index) {
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (stone.facetName(i) == name && std::fabs(stone.facetIndexOf(i) - index) < 1e-6) return i;
    return -1;
}

int32_t vertexAt(const Stone& stone, Vec3 p) {
    for (int32_t i = 0; i < stone.nVertex; ++i)
        if (length(stone.vertices[i].pos() - p) < 1e-9) return i;
    return -1;
}

// The edge between two facets.
int32_t edgeBetween(const Stone& stone, int32_t f, int32_t g) {
    for (int32_t i = 0; i < stone.nEdge; ++i) {
        const Edge& e = stone.edges[i];
        if ((e.f[0] == f && e.f[1] == g) || (e.f[0] == g && e.f[1] == f)) return i;
    }
    return -1;
}

struct RoundBrilliantPicking : ::testing::Test {
    Stone stone = makeRoundBrilliant();
    RecordingCanvas canvas;
    std::vector<View> panes;

    void SetUp() override { drawFourView(&stone, canvas, {0, 0, 460, 460}, {}, panes); }

    PickResult pickIn(int pane, double x, double y, bool ctrl = false) {
        classify(stone, panes[pane]);
        return ctrl ? pick(stone, x, y, panes[pane], FINE_PICK_TOLERANCE, true)
                    : pick(stone, x, y, panes[pane], PICK_TOLERANCE, false);
    }
    double sx(int pane, Vec3 p) { return panes[pane].projectX(p); }
    double sy(int pane, Vec3 p) { return panes[pane].projectY(p); }
};

TEST_F(RoundBrilliantPicking, EachPaneFindsTheFacetUnderThePointer) {
    // Pixels at facet label centres, facet by facet and pane by pane.
    struct Case {
        int pane;
        const char* name;
        double index;
    };
    const Case cases[] = {
        {PANE_TOP, "T", 96},     {PANE_TOP, "C1", 12},   {PANE_TOP, "C2", 6},
        {PANE_TOP, "C3", 93},    {PANE_SIDE, "G", 21},   {PANE_SIDE, "C1", 24},
        {PANE_SIDE, "P1", 24},   {PANE_BOTTOM, "P1", 96}, {PANE_BOTTOM, "P2", 9},
        {PANE_END, "P1", 96},    {PANE_END, "C1", 96},   {PANE_END, "G", 3},
    };
    for (const Case& c : cases) {
        const int32_t facet = facetNamed(stone, c.name, c.index);
        ASSERT_GE(facet, 0) << c.name;
        const Vec3 at = stone.facets[facet].labelCenter;
        const PickResult r = pickIn(c.pane, sx(c.pane, at), sy(c.pane, at));
        EXPECT_EQ(r.kind, PickFacet) << c.name << " " << c.index << " pane " << c.pane;
        EXPECT_EQ(r.index, facet) << c.name << " " << c.index << " pane " << c.pane;
        // The picked point lies on the facet's plane, under the pointer.
        const Facet& f = stone.facets[facet];
        EXPECT_NEAR(dot(f.normal(), r.point), f.d, 1e-12);
        EXPECT_NEAR(sx(c.pane, r.point), sx(c.pane, at), 1e-9);
        EXPECT_NEAR(sy(c.pane, r.point), sy(c.pane, at), 1e-9);
    }
    const int32_t table = facetNamed(stone, "T", 96);
    const PickResult r = pickIn(PANE_TOP, sx(PANE_TOP, {}), sy(PANE_TOP, {}));
    EXPECT_EQ(r.index, table);
    EXPECT_NEAR(r.point.z, stone.facets[table].d, 1e-12);

    // Far outside the stone in each pane: empty space, the point on the
    // plane through the origin.
    for (int k = 0; k < 4; ++k) {
        const double x = panes[k].viewport.sx1 + 2, y = panes[k].viewport.sy2 + 2;
        const PickResult space = pickIn(k, x, y);
        EXPECT_EQ(space.kind, PickSpace) << k;
        EXPECT_EQ(space.index, -1);
        EXPECT_EQ(space.x, x);
        const Vec3 p = panes[k].unproject(x, y, 0);
        EXPECT_TRUE(space.point.x == p.x && space.point.y == p.y && space.point.z == p.z);
    }
}

TEST_F(RoundBrilliantPicking, MeetPointsWithinTwiceTheToleranceAndNeverWithCtrl) {
    // The corner of the table at index 96 ... the star tip: take the table's
    // vertex nearest +y in the top view.
    classify(stone, panes[PANE_TOP]);
    const int32_t table = facetNamed(stone, "T", 96);
    int32_t corner = -1;
    for (int32_t i = 0; i < stone.nEdge; ++i) {
        const Edge& e = stone.edges[i];
        if (e.f[0] != table && e.f[1] != table) continue;
        for (int32_t v : e.v)
            if (corner < 0 || stone.vertices[v].y > stone.vertices[corner].y) corner = v;
    }
    ASSERT_GE(corner, 0);
    const Vertex& v = stone.vertices[corner];
    PickResult r = pickIn(PANE_TOP, v.sx, v.sy);
    EXPECT_EQ(r.kind, PickMeet);
    EXPECT_EQ(r.index, corner);
    EXPECT_EQ(r.point.y, v.y);
    // Just short of twice the tolerance it is still the meet point, with
    // the marker on the vertex; at twice the tolerance exactly it is not.
    r = pickIn(PANE_TOP, v.sx, v.sy - 3.999);
    EXPECT_EQ(r.kind, PickMeet);
    EXPECT_EQ(r.x, v.sx);
    EXPECT_EQ(r.y, v.sy);
    r = pickIn(PANE_TOP, v.sx, v.sy - 4);
    EXPECT_NE(r.kind, PickMeet);
    r = pickIn(PANE_TOP, v.sx + 4, v.sy);
    EXPECT_FALSE(r.kind == PickMeet && r.index == corner);
    // Ctrl: the vertex itself is on its edges.
    r = pickIn(PANE_TOP, v.sx, v.sy, true);
    EXPECT_EQ(r.kind, PickEdge);
}

TEST_F(RoundBrilliantPicking, EdgesSnapThePointOntoThem) {
    const int32_t table = facetNamed(stone, "T", 96);
    const int32_t star = facetNamed(stone, "C2", 6);
    ASSERT_GE(star, 0);
    const int32_t edge = edgeBetween(stone, table, star);
    ASSERT_GE(edge, 0);
    classify(stone, panes[PANE_TOP]);
    const Vec3 a = stone.edgeEnd(edge, 0), b = stone.edgeEnd(edge, 1);
    const Vec3 at = a * 0.3 + b * 0.7;
    // 1.5 pixels off the edge, square to it: within the tolerance.
    double nx = -(sy(PANE_TOP, b) - sy(PANE_TOP, a)), ny = sx(PANE_TOP, b) - sx(PANE_TOP, a);
    const double len = std::hypot(nx, ny);
    const double x = sx(PANE_TOP, at) + 1.5 * nx / len, y = sy(PANE_TOP, at) + 1.5 * ny / len;
    PickResult r = pickIn(PANE_TOP, x, y);
    EXPECT_EQ(r.kind, PickEdge);
    EXPECT_EQ(r.index, edge);
    EXPECT_NEAR(r.point.x, at.x, 1e-9);
    EXPECT_NEAR(r.point.y, at.y, 1e-9);
    EXPECT_NEAR(r.point.z, at.z, 1e-12);
    EXPECT_NEAR(r.x, sx(PANE_TOP, at), 1e-9);
    EXPECT_NEAR(r.y, sy(PANE_TOP, at), 1e-9);
    // Ctrl halves the tolerance: the same pixel is on a facet.
    r = pickIn(PANE_TOP, x, y, true);
    EXPECT_EQ(r.kind, PickFacet);
    EXPECT_TRUE(r.index == table || r.index == star);
}

TEST_F(RoundBrilliantPicking, MarginOfAFacetFacingAwayReachesFiveTolerances) {
    classify(stone, panes[PANE_TOP]);
    // In the top pane the outline runs round the girdle: the edges between
    // the crown's upper halves (seen) and the girdle facets (edge-on, hidden).
    const int32_t girdle = facetNamed(stone, "G", 3);
    int32_t edge = -1;
    for (int32_t i = 0; i < stone.nEdge && edge < 0; ++i) {
        const Edge& e = stone.edges[i];
        const int32_t other = e.f[0] == girdle ? e.f[1] : e.f[1] == girdle ? e.f[0] : -1;
        if (other >= 0 && stone.facets[other].c > EPS) edge = i;
    }
    ASSERT_GE(edge, 0);
    const Vec3 a = stone.edgeEnd(edge, 0), b = stone.edgeEnd(edge, 1);
    const Vec3 mid = (a + b) * 0.5;
    const double x = sx(PANE_TOP, mid), y = sy(PANE_TOP, mid);
    // Unit perpendicular of the edge on the screen, away from the centre.
    double nx = -(sy(PANE_TOP, b) - sy(PANE_TOP, a)), ny = sx(PANE_TOP, b) - sx(PANE_TOP, a);
    const double len = std::hypot(nx, ny);
    nx /= len;
    ny /= len;
    if (nx * (x - panes[PANE_TOP].originX) + ny * (y - panes[PANE_TOP].originY) < 0) {
        nx = -nx;
        ny = -ny;
    }
    PickResult r = pickIn(PANE_TOP, x + 4.9 * nx, y + 4.9 * ny);
    EXPECT_EQ(r.kind, PickMarginFacet);
    EXPECT_EQ(r.index, girdle);
    EXPECT_NEAR(r.x, x, 1e-9);  // snapped onto the edge
    EXPECT_NEAR(r.y, y, 1e-9);
    EXPECT_NEAR(length(r.point - mid), 0, 1e-9);
    r = pickIn(PANE_TOP, x + 9.99 * nx, y + 9.99 * ny);
    EXPECT_EQ(r.kind, PickMarginFacet);
    r = pickIn(PANE_TOP, x + 10.001 * nx, y + 10.001 * ny);
    EXPECT_EQ(r.kind, PickSpace);
    // Inside, the upper half is picked instead.
    r = pickIn(PANE_TOP, x - 4.9 * nx, y - 4.9 * ny);
    EXPECT_EQ(r.kind, PickFacet);
    EXPECT_GT(stone.facets[r.index].c, EPS);
}

TEST(Picking, EdgeAsNearAsTheVertexStillGivesTheFacetOnItsSide) {
    // A cube with a table: seen from above, the table is the whole square.
    Stone stone;
    stone.newFacet(0, 0, 1, 0.5);
    RecordingCanvas canvas;
    std::vector<View> panes;
    drawFourView(&stone, canvas, {0, 0, 460, 460}, {}, panes);
    View& top = panes[PANE_TOP];
    classify(stone, top);
    const int32_t corner = vertexAt(stone, {1.02, 1.02, 0.5});
    ASSERT_GE(corner, 0);
    const Vertex& v = stone.vertices[corner];
    // Beyond the corner toward +y (down on this screen), outside the square:
    // the edge along x is 5 pixels away at its end, and so is the corner.
    ASSERT_GT(top.projectY({0, 1, 0}), top.projectY({}));
    const PickResult r = pick(stone, v.sx, v.sy + 5, top, PICK_TOLERANCE, false);
    EXPECT_EQ(r.kind, PickMarginFacet);
    EXPECT_EQ(stone.facets[r.index].b, 1);  // the side face toward +y
    // Along the same edge's middle: a margin up to 10 pixels, then space.
    const double midX = top.projectX({0, 1.02, 0.5});
    EXPECT_EQ(pick(stone, midX, v.sy + 9.9, top, PICK_TOLERANCE, false).kind, PickMarginFacet);
    EXPECT_EQ(pick(stone, midX, v.sy + 10, top, PICK_TOLERANCE, false).kind, PickSpace);
    EXPECT_EQ(pick(stone, midX, v.sy - 10, top, PICK_TOLERANCE, false).kind, PickFacet);
    // A rough block alone has nothing to pick.
    Stone rough;
    classify(rough, top);
    EXPECT_EQ(pick(rough, v.sx, v.sy, top, PICK_TOLERANCE, false).kind, PickSpace);
}

TEST(Picking, ClickRuleAndMarkers) {
    EXPECT_TRUE(isClick(10, 10, 10, 10));
    EXPECT_TRUE(isClick(10, 10, 11, 11));
    EXPECT_TRUE(isClick(10, 10, 8, 10));
    EXPECT_FALSE(isClick(10, 10, 12, 11));
    EXPECT_FALSE(isClick(10, 10, 10, 7));

    RecordingCanvas canvas;
    drawMarker(canvas, '+', 50, 60);
    drawMarker(canvas, 'X', 50, 60);
    drawMarker(canvas, 'O', 50, 60);
    drawMarker(canvas, '.', 50, 60);
    drawCrosshair(canvas, 50, 60);
    ASSERT_EQ(canvas.primitives.size(), 8u);
    EXPECT_EQ(canvas.primitives[0].points, (std::vector<Point>{{50, 57}, {50, 64}}));
    EXPECT_EQ(canvas.primitives[1].points, (std::vector<Point>{{47, 60}, {54, 60}}));
    EXPECT_EQ(canvas.primitives[2].points, (std::vector<Point>{{47, 57}, {54, 64}}));
    EXPECT_EQ(canvas.primitives[3].points, (std::vector<Point>{{47, 63}, {54, 56}}));
    EXPECT_EQ(canvas.primitives[4].points.size(), 9u);
    EXPECT_EQ(canvas.primitives[4].points.front(), canvas.primitives[4].points.back());
    EXPECT_EQ(canvas.primitives[4].points[1], (Point{48, 56}));
    EXPECT_EQ(canvas.primitives[5].points,
              (std::vector<Point>{{49, 59}, {51, 59}, {51, 61}, {49, 61}, {49, 59}}));
    EXPECT_EQ(canvas.primitives[6].points, (std::vector<Point>{{-1950, 60}, {4050, 60}}));
    EXPECT_EQ(canvas.primitives[7].points, (std::vector<Point>{{50, -1940}, {50, 4060}}));
}

struct HoverOnBrilliant : RoundBrilliantPicking {
    PickState state;
    std::string hoverAt(Vec3 p, int pane, bool shift = false, bool ctrl = false) {
        return state.hover(&stone, panes, sx(pane, p), sy(pane, p), shift, ctrl);
    }
    std::vector<Primitive> overlay() {
        RecordingCanvas out;
        state.drawOverlay(out);
        return out.primitives;
    }
};

TEST_F(HoverOnBrilliant, StatusTextsHighlightAndMarker) {
    const int32_t table = facetNamed(stone, "T", 96);
    std::string text = hoverAt({}, PANE_TOP);
    EXPECT_EQ(state.pickKind, PickFacet);
    EXPECT_EQ(state.pickIndex, table);
    EXPECT_EQ(text, "( 0.000, 0.000, 0.320) Facet T 0.00\xB0 96.0 ");
    // The table filled light green, outlined, its name again; then the marker.
    const std::vector<Primitive> drawn = overlay();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front().kind, PrimitiveKind::Polygon);
    EXPECT_EQ(drawn.front().brush.colour, (Rgb{220, 255, 220}));
    EXPECT_EQ(drawn.front().pen, HIGHLIGHT_PEN);
    for (const Primitive& p : drawn) EXPECT_EQ(p.rop, RasterOp::NotXorPen);
    EXPECT_EQ(drawn.end()[-2].pen, MARKER_PEN);
    EXPECT_EQ(drawn.end()[-1].pen, MARKER_PEN);
    EXPECT_EQ(drawn.end()[-2].points[0].x, toPixel(sx(PANE_TOP, {})));
    EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(),
                            [](const Primitive& p) { return p.kind == PrimitiveKind::Text; }),
              1);

    // Empty space: the coordinates only, no marker, no highlight.
    text = state.hover(&stone, panes, 3, 3, false, false);
    EXPECT_EQ(state.pickKind, PickSpace);
    EXPECT_EQ(text.front(), '(');
    EXPECT_EQ(text.back(), ')');
    EXPECT_TRUE(overlay().empty());

    // Outside every pane.
    text = state.hover(&stone, panes, 470, 10, false, false);
    EXPECT_EQ(text, "Ready");
    EXPECT_EQ(state.pickKind, PickNone);
}

TEST_F(HoverOnBrilliant, MovingBetweenPanesClassifiesTheNewPaneFirst) {
    // The last pane drawn was the end pane; the top pane must be classified
    // before its table can be found, and the bottom pane after it.
    hoverAt({}, PANE_TOP);
    EXPECT_EQ(state.pickIndex, facetNamed(stone, "T", 96));
    EXPECT_EQ(state.lastHoverPane, PANE_TOP);
    const int32_t pavilionMain = facetNamed(stone, "P1", 96);
    const Vec3 onMain = stone.facets[pavilionMain].labelCenter;
    hoverAt(onMain, PANE_BOTTOM);
    EXPECT_EQ(state.pickKind, PickFacet);
    EXPECT_EQ(state.pickIndex, pavilionMain);
    EXPECT_EQ(state.lastHoverPane, PANE_BOTTOM);
    EXPECT_EQ(state.highlightPane, PANE_BOTTOM);
    // Another view classifying the stone in between changes nothing.
    View other = panes[PANE_SIDE];
    classify(stone, other);
    hoverAt(onMain, PANE_BOTTOM);
    EXPECT_EQ(state.pickIndex, pavilionMain);
}

TEST_F(HoverOnBrilliant, ShiftKeepsToTheLineThroughTheLastClick) {
    state.hover(&stone, panes, 100, 100, false, false);
    state.clicked();
    state.hover(&stone, panes, 130, 110, true, false);
    EXPECT_EQ(state.pickY, 100);
    state.hover(&stone, panes, 105, 140, true, false);
    EXPECT_EQ(state.pickX, 100);
    // A tie keeps the x movement.
    state.hover(&stone, panes, 120, 120, true, false);
    EXPECT_EQ(state.pickX, 120);
    EXPECT_EQ(state.pickY, 100);
}

TEST_F(HoverOnBrilliant, GearLabelCrosshairAndForgetting) {
    const GearLabel& label = panes[PANE_TOP].gearLabel;
    ASSERT_TRUE(label.present);
    hoverAt({}, PANE_TOP);
    state.toggleCrosshair();
    EXPECT_EQ(state.crosshairShown, 1);
    EXPECT_EQ(overlay().back().points[0].y, toPixel(sy(PANE_TOP, {})) - 2000);
    state.toggleCrosshair();  // same place: off
    EXPECT_EQ(state.crosshairShown, 0);
    state.toggleCrosshair();  // and on again
    EXPECT_EQ(state.crosshairShown, 1);

    const std::string text = state.hover(&stone, panes, (label.left + label.right) / 2,
                                         (label.top + label.bottom) / 2, false, false);
    EXPECT_EQ(text, "Click to select index gear");
    EXPECT_EQ(state.pickKind, PickGearLabel);
    EXPECT_EQ(state.crosshairShown, 0);
    const std::vector<Primitive> drawn = overlay();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, label.text);

    state.forget();
    EXPECT_TRUE(overlay().empty());
    EXPECT_EQ(state.lastHoverPane, -1);
    EXPECT_EQ(state.pickKind, PickNone);
}

TEST(Hover, WithoutAStoneEveryPaneIsEmptySpace) {
    RecordingCanvas canvas;
    std::vector<View> panes;
    drawFourView(nullptr, canvas, {0, 0, 460, 460}, {}, panes);
    PickState state;
    const std::string text = state.hover(nullptr, panes, 300, 300, false, false);
    EXPECT_EQ(state.pickKind, PickSpace);
    EXPECT_EQ(state.anchorX, 300);
    EXPECT_EQ(text.front(), '(');
}

}  // namespace
}  // namespace brevix
