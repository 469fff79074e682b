// One design read at once by everything that reads it while the window is
// open: the views draw it through their own copy on this thread while the
// renderer and the optimiser read the very same stone on others. Nothing
// may write the shared stone: it comes out with every record as it went in,
// and under ThreadSanitizer no access races.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "intent/brilliant_intent.h"
#include "kernel/stone.h"
#include "optics/face_up.h"
#include "optimise/optimiser.h"
#include "views/four_view.h"
#include "views/recording_canvas.h"
#include "views/stone_drawing.h"
#include "views/view_stone.h"

namespace brevix {
namespace {

// Every field of every record, the views' working fields included.
struct RecordImage {
    std::vector<std::array<double, 6>> facets;
    std::vector<std::array<double, 7>> vertices;
    std::vector<std::array<double, 6>> edges;
    bool operator==(const RecordImage&) const = default;
};

RecordImage imageOf(const Stone& s) {
    RecordImage image;
    for (int32_t i = 0; i < s.nFacet; ++i) {
        const Facet& f = s.facets[i];
        image.facets.push_back({f.d, double(f.labelPx), double(f.labelPy), f.labelArea, double(f.status),
                                f.girdleBox[0]});
    }
    for (int32_t i = 0; i < s.nVertex; ++i) {
        const Vertex& v = s.vertices[i];
        image.vertices.push_back({v.x, v.sx, v.sy, double(v.px), double(v.py), double(v.status), v.dist});
    }
    for (int32_t i = 0; i < s.nEdge; ++i) {
        const Edge& e = s.edges[i];
        image.edges.push_back({double(e.v[0]), double(e.v[1]), double(e.f[0]), double(e.f[1]), double(e.status),
                               e.pixelLength});
    }
    return image;
}

TEST(SharedDesign, ViewsDrawWhileTheRendererAndTheOptimiserReadTheSameStone) {
    const DesignWithIntent meets = cutRoundBrilliantByIntent();
    const Stone& design = meets.stone;
    const RecordImage before = imageOf(design);

    std::atomic<bool> done{false};
    std::thread renderer([&] {
        optics::FaceUpOptions options;
        options.size = 48;
        options.threads = 2;
        for (int i = 0; i < 3; ++i) EXPECT_GT(optics::renderFaceUp(design, options).isoBrightness, 0);
    });
    std::thread optimiser([&] {
        optimise::OptimiseSettings settings;
        settings.starts = 2;
        settings.evaluationsPerStart = 6;
        settings.scoring.size = 32;
        settings.threads = 2;
        const optimise::OptimiseResult result = optimise::optimiseDesign(design, meets.intent, settings);
        EXPECT_TRUE(result.error.empty()) << result.error;
        done = true;
    });

    // The window's side: four panes drawn again and again through the views' copy.
    ViewStone copy;
    RecordingCanvas canvas;
    int paints = 0;
    while (!done || paints < 3) {
        Stone* shown = copy.refresh(&design);
        ASSERT_NE(shown, nullptr);
        for (int which : {PANE_TOP, PANE_SIDE, PANE_BOTTOM, PANE_END}) {
            canvas.clear();
            View view;
            view.setDC(&canvas);
            setupFourViewPane(view, which, drawingSquare({0, 0, 400, 400}), false);
            drawStone(*shown, view, DRAW_SILHOUETTE | DRAW_VISIBLE | DRAW_HIDDEN | DRAW_LABELS);
            EXPECT_GT(canvas.primitives.size(), 0u);
        }
        ++paints;
    }
    renderer.join();
    optimiser.join();
    EXPECT_TRUE(imageOf(design) == before);
}

}  // namespace
}  // namespace brevix
