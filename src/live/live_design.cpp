#include "live/live_design.h"

namespace brevix {

namespace {

DesignFigures figuresOfCopy(const Stone& stone, const LiveInputs& in) {
    Stone copy(stone);  // the measures work out bounds and volume on the stone they are given
    return figuresOf(copy, in.size, in.material);
}

}  // namespace

LiveDesign liveDesignOf(const LiveInputs& in) {
    LiveDesign live;
    if (!in.stone) return live;
    const Stone& stone = *in.stone;
    live.figures = figuresOfCopy(stone, in);
    live.warnings = designWarnings(stone, in.intent, nullptr, in.previous);
    if (in.dragging || !in.pending) return live;
    live.preview = previewCut(stone, *in.pending);
    if (live.preview.ready) {
        live.previewWarnings = designWarnings(live.preview.stone, nullptr, &stone);
        live.previewFigures = figuresOfCopy(live.preview.stone, in);
    }
    for (int k = 0; k < in.pending->nPoints; ++k) live.points.push_back(in.pending->points[k]);
    return live;
}

}  // namespace brevix
