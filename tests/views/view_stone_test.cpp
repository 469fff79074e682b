// The views draw and pick on their own copy of a design: the document's
// stone keeps every field as it was, however often the views paint.
#include <gtest/gtest.h>

#include <cstring>

#include "design/sample_designs.h"
#include "views/four_view.h"
#include "views/recording_canvas.h"
#include "views/spin_view.h"
#include "views/view_stone.h"

namespace brevix {
namespace {

// Every field of the records, the views' working fields included.
void expectSameRecords(const Stone& x, const Stone& y) {
    ASSERT_EQ(x.nFacet, y.nFacet);
    ASSERT_EQ(x.nEdge, y.nEdge);
    ASSERT_EQ(x.nVertex, y.nVertex);
    for (int32_t i = 0; i < x.nFacet; ++i) {
        const Facet &f = x.facets[i], &g = y.facets[i];
        EXPECT_TRUE(f.a == g.a && f.b == g.b && f.c == g.c && f.d == g.d && f.name == g.name) << i;
        EXPECT_TRUE(f.status == g.status && f.anchor == g.anchor && f.labelPx == g.labelPx &&
                    f.labelPy == g.labelPy && f.girdleBox == g.girdleBox && f.labelArea == g.labelArea &&
                    f.labelCenter.x == g.labelCenter.x && f.labelCenter.y == g.labelCenter.y)
            << "facet " << i;
    }
    for (int32_t i = 0; i < x.nVertex; ++i) {
        const Vertex &v = x.vertices[i], &w = y.vertices[i];
        EXPECT_TRUE(v.x == w.x && v.y == w.y && v.z == w.z && v.sx == w.sx && v.sy == w.sy && v.px == w.px &&
                    v.py == w.py && v.status == w.status)
            << "vertex " << i;
    }
    for (int32_t i = 0; i < x.nEdge; ++i) {
        const Edge &e = x.edges[i], &h = y.edges[i];
        EXPECT_TRUE(e.v == h.v && e.f == h.f && e.status == h.status && e.pixelLength == h.pixelLength) << "edge " << i;
    }
    EXPECT_EQ(std::memcmp(&x.stats, &y.stats, sizeof(Stats)), 0);
}

TEST(ViewStone, PaintingTheViewsLeavesTheDesignAsItWas) {
    Stone design = makeRoundBrilliant();
    design.addRayPoint(1, 0, 0, 1.1);
    Stone untouched(design);
    untouched.stats = design.stats;

    ViewStone fourCopy, spinCopy;
    RecordingCanvas canvas;
    std::vector<View> panes;
    FourViewOptions options;
    options.hiddenLines = true;
    drawFourView(fourCopy.refresh(&design), canvas, {0, 0, 460, 460}, options, panes);
    View pane;
    drawSpinView(spinCopy.refresh(&design), canvas, {0, 0, 300, 300}, SpinAngles{}, {}, pane);
    expectSameRecords(design, untouched);
    EXPECT_EQ(design.nRay, 4);
    EXPECT_TRUE(design.diagnostics().empty());

    // The copy drew something of its own: its pixels are not the design's.
    Stone* drawn = fourCopy.get();
    ASSERT_NE(drawn, nullptr);
    ASSERT_NE(drawn, &design);
    bool anyPixel = false;
    for (int32_t i = 0; i < drawn->nVertex; ++i) anyPixel = anyPixel || drawn->vertices[i].px != 0;
    EXPECT_TRUE(anyPixel);
    EXPECT_EQ(drawn->nRay, design.nRay);
}

TEST(ViewStone, TakesTheDesignAgainOnlyWhenItShowsSomethingNew) {
    Stone design = makeRoundBrilliant();
    ViewStone copy;
    EXPECT_EQ(copy.refresh(nullptr), nullptr);
    Stone* first = copy.refresh(&design);
    ASSERT_NE(first, nullptr);
    first->vertices[0].px = 12345;  // what a paint leaves behind
    EXPECT_EQ(copy.refresh(&design), first);
    EXPECT_EQ(first->vertices[0].px, 12345);

    design.setFacetName(7, "renamed");
    EXPECT_FALSE(showsSameDesign(*first, design));
    EXPECT_EQ(copy.refresh(&design)->facetName(7), "renamed");

    design.addRayPoint(1, 0, 0, 1.1);
    EXPECT_EQ(copy.refresh(&design)->nRay, 4);
    design.eraseRays();
    EXPECT_EQ(copy.refresh(&design)->nRay, 0);

    design.newFacet(0.3, 0.2, 0.9, 0.85);
    EXPECT_EQ(copy.refresh(&design)->nFacet, design.nFacet);
    EXPECT_TRUE(showsSameDesign(*copy.get(), design));
}

}  // namespace
}  // namespace brevix
