// Speed of what the window does while a design changes under the cutter's
// hands, on the round brilliant (73 facets, 96 gear): the preview of one
// tier of 16 facets with the figures and warnings of the would-be stone,
// and one step of a drag of the crown mains (re-cut by intent, figures,
// warnings, the four views drawn).
#include <benchmark/benchmark.h>

#include <vector>

#include "intent/brilliant_intent.h"
#include "intent/recut.h"
#include "live/cut_preview.h"
#include "live/design_figures.h"
#include "live/design_warnings.h"
#include "platform/messages.h"
#include "views/four_view.h"
#include "views/recording_canvas.h"

namespace brevix {
namespace {

void BM_PreviewUpperHalvesWithFigures(benchmark::State& state) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent b = cutRoundBrilliantByIntent();
    DesignIntent first = b.intent;
    first.tiers.pop_back();
    const Stone before = recutByIntent(b.stone, first, std::nullopt).stone;
    const TierIntent& uppers = b.intent.tiers.back();
    NewFacetInfo info;
    info.angle = uppers.angle;
    info.index = uppers.index;
    info.ced = uppers.ced;
    info.hasAngle = info.hasIndex = info.hasCed = true;
    info.symmetry = 8;
    info.mirror = 1;
    for (auto _ : state) {
        CutPreview preview = previewCut(before, info);
        if (preview.made != 16) state.SkipWithError("the preview did not make 16 facets");
        const DesignFigures figures = figuresOf(preview.stone);
        const std::vector<DesignWarning> warnings = designWarnings(preview.stone);
        benchmark::DoNotOptimize(figures.tw);
        benchmark::DoNotOptimize(warnings.size());
    }
}
BENCHMARK(BM_PreviewUpperHalvesWithFigures)->Unit(benchmark::kMicrosecond);

void BM_DragStepCrownMains(benchmark::State& state) {
    RecordingSink sink;
    ScopedMessageSink scope(sink);
    const DesignWithIntent b = cutRoundBrilliantByIntent();
    TierChange change;
    change.tier = 3;
    change.setAngle = true;
    NullCanvas canvas;
    std::vector<View> panes;
    FourViewOptions options;
    double angle = 34.5;
    for (auto _ : state) {
        angle = angle > 35.4 ? 34.5 : angle + 0.1;
        change.angle = angle;
        RecutResult cut = recutByIntent(b.stone, b.intent, change);
        if (!cut.ok()) state.SkipWithError("the brilliant did not keep its intent");
        const DesignFigures figures = figuresOf(cut.stone);
        const std::vector<DesignWarning> warnings = designWarnings(cut.stone, &cut.intent);
        drawFourView(&cut.stone, canvas, {0, 0, 800, 800}, options, panes);
        benchmark::DoNotOptimize(figures.girdleAtMains);
        benchmark::DoNotOptimize(warnings.size());
        benchmark::DoNotOptimize(canvas.calls);
    }
}
BENCHMARK(BM_DragStepCrownMains)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brevix
