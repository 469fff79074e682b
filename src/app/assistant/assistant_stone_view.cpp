#include "app/assistant/assistant_stone_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "app/qt_canvas.h"
#include "assistant/assistant_session.h"
#include "design/design_text.h"
#include "design/measures.h"
#include "views/picking.h"
#include "views/stone_drawing.h"

namespace brevix {

namespace {

const Rgb kCutShade{150, 190, 150};
const Rgb kCurrentFill{255, 140, 0};
const QColor kBackground(166, 202, 240);

bool isGirdleFacet(const Facet& f) { return std::fabs(f.c) <= EPS; }

}  // namespace

AssistantStoneView::AssistantStoneView(const AssistantSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("assistantStoneView"));
    setMinimumSize(200, 200);
    // The keys belong to the window: a click here must not take them away.
    setFocusPolicy(Qt::NoFocus);
}

bool AssistantStoneView::crownSide() const {
    const CuttingStep* step = session_.currentStep();
    // At a transfer the view already shows the side that comes next.
    if (step && step->kind == StepKind::Transfer) step = session_.nextStep();
    if (!step) return true;
    return step->section != SECTION_PAVILION;
}

View AssistantStoneView::layoutPane(QSize size) {
    View view;
    const int s = std::min(size.width(), size.height());
    const int left = (size.width() - s) / 2, top = (size.height() - s) / 2;
    const bool crown = crownSide();
    // The zoomed top or bottom pane of the four view.
    view.setXAxis(crown ? Vec3{1, 0, 0} : Vec3{-1, 0, 0});
    view.setYAxis({0, -1, 0});
    view.setWindow(-1.15, 1.15, -1.15, 1.15);
    view.setViewport(left, left + s, top + s, top, 8);
    view.setName(crown ? "top" : "bottom");
    view.setup(0);
    view.setInteractive(false);
    if (Stone* shown = shownStone()) classify(*shown, view);
    return view;
}

bool AssistantStoneView::facetPosition(int32_t facet, QPoint& at) {
    Stone* shown = shownStone();
    if (!shown || facet < 0 || facet >= shown->nFacet) return false;
    FacetLabelCenters(*shown);
    View view = layoutPane(size());
    const Facet& f = shown->facets[facet];
    if (f.status == VS_HIDDEN || f.labelArea <= 0) return false;
    at = QPoint(toPixel(view.projectX(f.labelCenter)), toPixel(view.projectY(f.labelCenter)));
    return true;
}

void AssistantStoneView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    Stone* shown = shownStone();
    if (!shown || shown->nFacet == 0) return;
    Stone& stone = *shown;
    QtCanvas canvas(painter);
    View view = layoutPane(size());
    view.setDC(&canvas);
    FacetLabelCenters(stone);
    computeBounds(stone);

    // Both passes write the gear numbers of the top view: in one font they
    // fall on each other.
    Font font;
    font.face = "Arial";
    font.pointSize = 11;
    canvas.setFont(font);
    canvas.setTextAlign({HAlign::Center, VAlign::Baseline});
    canvas.setPen(BLACK_PEN);
    canvas.setBrush(WHITE_BRUSH);
    drawStone(stone, view, DRAW_SILHOUETTE);

    const CuttingStep* step = session_.currentStep();
    const auto isCurrent = [step](int32_t facet) {
        if (!step) return false;
        for (int32_t f : step->facets)
            if (f == facet) return true;
        return false;
    };
    // Facets seen from this side: filled. Girdle facets stand edge-on and
    // are drawn as a thick line along the outline instead.
    const int thick = std::max(6, std::min(width(), height()) / 60);
    for (int pass = 0; pass < 2; ++pass) {
        for (int32_t i = 0; i < stone.nFacet; ++i) {
            const Facet& f = stone.facets[i];
            if (f.isRough()) continue;
            const bool current = isCurrent(i);
            const bool cut = session_.isCut(i);
            if ((pass == 0 && !cut) || (pass == 1 && !current)) continue;
            const Rgb colour = current ? kCurrentFill : kCutShade;
            if (isGirdleFacet(f)) {
                canvas.setPen(Pen{PenStyle::Solid, thick, colour});
                for (int32_t e = 0; e < stone.nEdge; ++e) {
                    const Edge& edge = stone.edges[e];
                    if (edge.f[0] == i || edge.f[1] == i) drawEdge(stone, e, view);
                }
                if (current) {
                    // A pointer from outside at the facet's azimuth.
                    // The plane's nearest point to the axis is d along the normal.
                    const double r = std::hypot(f.a, f.b);
                    const Vec3 dir{f.a / r, f.b / r, 0};
                    view.moveTo3({dir.x * (f.d + 0.1), dir.y * (f.d + 0.1), 0});
                    view.lineTo3({dir.x * (f.d + 0.02), dir.y * (f.d + 0.02), 0});
                }
            } else if (f.status != VS_HIDDEN) {
                canvas.setPen(Pen{PenStyle::Solid, 0, colour});
                view.fillbrush(true, colour.r, colour.g, colour.b);
                fillFacet(stone, i, view);
                view.fillbrush(false);
            }
        }
    }
    canvas.setPen(BLACK_PEN);
    drawStone(stone, view, DRAW_VISIBLE | DRAW_LABELS);
    // The view from below has no numbers of its own; the cutter at the
    // machine wants them on the pavilion as much as on the crown.
    if (!crownSide()) drawPavilionGearLabels(stone, view);
}

void AssistantStoneView::mousePressEvent(QMouseEvent* event) {
    Stone* shown = shownStone();
    if (!shown || event->button() != Qt::LeftButton) return;
    View view = layoutPane(size());
    const QPointF p = event->position();
    const Stone& stone = *shown;
    const PickResult hit = pick(stone, p.x(), p.y(), view, 4, true);
    int32_t facet = -1;
    if (hit.kind == PickFacet || hit.kind == PickMarginFacet) {
        facet = hit.index;
    } else if (hit.kind == PickEdge && hit.index >= 0) {
        // An edge on the outline: the girdle facet it bounds, if any.
        const Edge& e = stone.edges[hit.index];
        for (int32_t f : e.f)
            if (isGirdleFacet(stone.facets[f]) && !stone.facets[f].isRough()) facet = f;
        if (facet < 0) facet = stone.facets[e.f[0]].status != VS_HIDDEN ? e.f[0] : e.f[1];
    }
    if (facet >= 0 && !stone.facets[facet].isRough() && onFacetClicked) onFacetClicked(facet);
}

}  // namespace brevix
