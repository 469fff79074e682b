#include "app/panes/preview_overlay.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>

#include "live/cut_preview.h"
#include "views/view.h"

namespace brevix {

PreviewOverlay overlayOf(const CutPreview* preview, const std::vector<Vec3>& points) {
    PreviewOverlay overlay;
    overlay.points = points;
    if (!preview) return overlay;
    for (int32_t facet : preview->added) overlay.outlines.push_back(facetOutline(preview->stone, facet));
    return overlay;
}

void drawPreviewOverlay(QPainter& painter, const View& pane, const PreviewOverlay& overlay) {
    if (overlay.empty()) return;
    const DeviceViewport& vp = pane.viewport;
    const QRectF area(QPointF(std::min(vp.sx1, vp.sx2), std::min(vp.sy1, vp.sy2)),
                      QPointF(std::max(vp.sx1, vp.sx2), std::max(vp.sy1, vp.sy2)));
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // A colour of its own, so that the pending facets never pass for cut ones.
    const QColor outline(0, 110, 220);
    painter.setPen(QPen(outline, 1.5));
    painter.setBrush(QColor(0, 140, 255, 48));
    for (const std::vector<Vec3>& facet : overlay.outlines) {
        QPolygonF polygon;
        for (const Vec3& p : facet) polygon << QPointF(pane.projectX(p), pane.projectY(p));
        painter.drawPolygon(polygon);
    }
    painter.setPen(QPen(QColor(220, 0, 120), 1.5));
    painter.setBrush(Qt::NoBrush);
    for (const Vec3& p : overlay.points) painter.drawEllipse(QPointF(pane.projectX(p), pane.projectY(p)), 4, 4);
    painter.restore();
}

}  // namespace brevix
