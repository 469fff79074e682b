#pragma once
// The pending facets drawn over a view of the stone: each would-be facet's
// outline with a light fill, and the points the cut is aimed through.
#include <vector>

#include "kernel/geometry.h"

class QPainter;

namespace brevix {

class View;
struct CutPreview;

struct PreviewOverlay {
    std::vector<std::vector<Vec3>> outlines;
    std::vector<Vec3> points;
    bool empty() const { return outlines.empty() && points.empty(); }
};

// The outlines of the facets the preview adds; none for no preview.
PreviewOverlay overlayOf(const CutPreview* preview, const std::vector<Vec3>& points);

// Draws the overlay through the pane's projection, within its viewport.
void drawPreviewOverlay(QPainter& painter, const View& pane, const PreviewOverlay& overlay);

}  // namespace brevix
