#include "views/stone_drawing.h"

#include <cmath>
#include <utility>
#include <vector>

#include "views/ray_drawing.h"

namespace brevix {

namespace {

using VertexPair = std::pair<int32_t, int32_t>;

// Puts the pairs into a chain, each starting where the one before ends, and
// gives the polygon through their start vertices. A broken chain (which a
// sound polyhedron never gives) simply runs on with the next pair.
std::vector<Point> chainPolygon(const Stone& stone, std::vector<VertexPair>& pairs) {
    for (size_t i = 0; i + 1 < pairs.size(); ++i) {
        for (size_t j = i + 1; j < pairs.size(); ++j) {
            if (pairs[j].first == pairs[i].second) {
                std::swap(pairs[i + 1], pairs[j]);
                break;
            }
        }
    }
    std::vector<Point> points;
    points.reserve(pairs.size());
    for (const VertexPair& pair : pairs) {
        const Vertex& p = stone.vertices[pair.first];
        points.push_back({p.px, p.py});
    }
    return points;
}

void drawSilhouette(Stone& stone, View& view) {
    // Orient every outline edge so that its visible facet lies on the same side.
    std::vector<VertexPair> pairs;
    for (int32_t i = 0; i < stone.nEdge; ++i) {
        const Edge& e = stone.edges[i];
        if (e.status == VS_HIDDEN) continue;
        const bool hidden0 = stone.facets[e.f[0]].status == VS_HIDDEN;
        const bool hidden1 = stone.facets[e.f[1]].status == VS_HIDDEN;
        if (hidden0 == hidden1) continue;
        pairs.push_back(hidden0 ? VertexPair{e.v[0], e.v[1]} : VertexPair{e.v[1], e.v[0]});
    }
    view.polygon(chainPolygon(stone, pairs));

    view.fillbrush(true, ROUGH_FACE_GREY.r, ROUGH_FACE_GREY.g, ROUGH_FACE_GREY.b);
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        if (f.isRough() && f.status != VS_HIDDEN) fillFacet(stone, i, view);
    }
    view.fillbrush(false);
}

void drawLine(const Stone& stone, const Edge& e, View& view) {
    const Vertex& p = stone.vertices[e.v[0]];
    const Vertex& q = stone.vertices[e.v[1]];
    view.line(p.px, p.py, q.px, q.py);
}

}  // namespace

void fillFacet(const Stone& stone, int32_t facet, View& view) {
    std::vector<VertexPair> pairs;
    for (int32_t i = 0; i < stone.nEdge; ++i) {
        const Edge& e = stone.edges[i];
        if (e.status != VS_VISIBLE) continue;
        if (e.f[1] == facet)
            pairs.push_back({e.v[0], e.v[1]});
        else if (e.f[0] == facet)
            pairs.push_back({e.v[1], e.v[0]});
    }
    view.polygon(chainPolygon(stone, pairs));
}

void drawEdge(const Stone& stone, int32_t edge, View& view) {
    const Edge& e = stone.edges[edge];
    if (e.status == VS_VISIBLE) drawLine(stone, e, view);
}

void drawFacetOutline(Stone& stone, int32_t facet, View& view) {
    if (stone.facets[facet].isRough()) {
        view.fillbrush(true, ROUGH_FACE_GREY.r, ROUGH_FACE_GREY.g, ROUGH_FACE_GREY.b);
        fillFacet(stone, facet, view);
        view.fillbrush(false);
    }
    for (int32_t i = 0; i < stone.nEdge; ++i) {
        const Edge& e = stone.edges[i];
        if (e.f[0] == facet || e.f[1] == facet) drawEdge(stone, i, view);
    }
    drawFacetLabel(stone, facet, view);
}

void drawFacetLabel(const Stone& stone, int32_t facet, View& view) {
    const Facet& f = stone.facets[facet];
    if (f.name.empty()) return;
    if (!isGirdle(f)) {
        const bool shown = f.status == VS_FACING ||
                           (f.status == VS_VISIBLE && std::fabs(view.w.z) > AXIS_PANE);
        if (!shown) return;
        view.moveToPixel(f.labelPx, f.labelPy);
        view.text(f.name);
        return;
    }
    if (view.w.z <= -AXIS_PANE) {
        // Seen edge-on from below: a leader from outside with its arrowhead on the facet.
        const Vec3 n = f.normal();
        const double nu = dot(n, view.uUnit), nv = dot(n, view.vUnit);
        view.moveToPixel(f.labelPx, f.labelPy);
        view.mark(0);
        view.moveToPixel(f.labelPx + static_cast<int>(view.marginX * 2.1 * nu),
                         f.labelPy + static_cast<int>(view.marginY * 2.1 * nv));
        view.mark(1);
        view.moveToMark(0);
        view.arrowToMark(1);
        view.moveToPixel(f.labelPx + static_cast<int>(view.marginX * 2.5 * nu),
                         f.labelPy + static_cast<int>(view.marginY * 2.5 * nv));
        view.text(f.name);
        return;
    }
    const auto& box = f.girdleBox;
    if (f.status == VS_FACING && box[2] - box[0] > view.marginX &&
        box[3] - box[1] > view.marginX) {
        view.moveToPixel(f.labelPx, f.labelPy);
        view.text(f.name);
    }
}

void drawStone(Stone& stone, View& view, unsigned what) {
    classify(stone, view);
    if (view.w.z > AXIS_PANE && !(what & DRAW_NO_GEAR_LABELS))
        drawGearLabels(stone, view);
    else
        view.gearLabel = GearLabel{};
    // A new design is the bare rough block: the cutter sees the block the
    // first tier goes into, with nothing on it to name, measure or trace.
    if (stone.nFacet == stone.nRough) what &= DRAW_SILHOUETTE | DRAW_VISIBLE;

    if (what & DRAW_SILHOUETTE) drawSilhouette(stone, view);
    if (what & DRAW_VISIBLE) {
        for (int32_t i = 0; i < stone.nEdge; ++i)
            if (stone.edges[i].status == VS_VISIBLE) drawLine(stone, stone.edges[i], view);
    }
    if (what & DRAW_LABELS) {
        for (int32_t i = 0; i < stone.nFacet; ++i) drawFacetLabel(stone, i, view);
        drawDimensions(stone, view);
    }
    if (what & DRAW_HIDDEN) {
        for (int32_t i = 0; i < stone.nEdge; ++i)
            if (stone.edges[i].status != VS_VISIBLE) drawLine(stone, stone.edges[i], view);
    }
    if (what & DRAW_RAYS) drawRays(stone, view);
}

}  // namespace brevix
