#include <cmath>

#include "views/stone_drawing.h"

namespace brevix {

namespace {
constexpr double EMPTY_MIN = 1e37, EMPTY_MAX = -1e37;
// A girdle facet reaching this far from the axis makes the gear labels move out.
constexpr double BEYOND_RADIUS = 1.2;

}  // namespace

void classify(Stone& stone, View& view) {
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        Facet& f = stone.facets[i];
        const double d = dot(f.normal(), view.w);
        f.status = d > FACING ? VS_FACING : d > EPS ? VS_VISIBLE : VS_HIDDEN;
    }
    for (int32_t i = 0; i < stone.nVertex; ++i) stone.vertices[i].status = VS_HIDDEN;
    for (int32_t i = 0; i < stone.nEdge; ++i) {
        Edge& e = stone.edges[i];
        if (stone.facets[e.f[0]].status == VS_HIDDEN && stone.facets[e.f[1]].status == VS_HIDDEN) {
            e.status = VS_HIDDEN;
        } else {
            e.status = VS_VISIBLE;
            stone.vertices[e.v[0]].status = VS_VISIBLE;
            stone.vertices[e.v[1]].status = VS_VISIBLE;
        }
    }
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        Vertex& p = stone.vertices[i];
        p.sx = view.projectX(p.pos());
        p.sy = view.projectY(p.pos());
        p.px = toPixel(p.sx);
        p.py = toPixel(p.sy);
    }
    for (int32_t i = 0; i < stone.nEdge; ++i) {
        Edge& e = stone.edges[i];
        if (e.status != VS_VISIBLE) continue;
        const Vertex& p = stone.vertices[e.v[0]];
        const Vertex& q = stone.vertices[e.v[1]];
        e.pixelLength = std::hypot(q.sx - p.sx, q.sy - p.sy);
    }
    view.extendsBeyond = 0;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        Facet& f = stone.facets[i];
        if (!f.name.empty()) {
            f.labelPx = toPixel(view.projectX(f.labelCenter));
            f.labelPy = toPixel(view.projectY(f.labelCenter));
        }
        if (isGirdle(f)) f.girdleBox = {EMPTY_MIN, EMPTY_MIN, EMPTY_MAX, EMPTY_MAX};
    }
    // Girdle boxes grow over the ends of the facets' edges.
    for (int32_t i = 0; i < stone.nEdge; ++i) {
        const Edge& e = stone.edges[i];
        for (int32_t facet : e.f) {
            Facet& f = stone.facets[facet];
            if (!isGirdle(f)) continue;
            for (int32_t end : e.v) {
                const Vertex& p = stone.vertices[end];
                auto& box = f.girdleBox;  // min x, min y, max x, max y
                box[0] = std::fmin(box[0], p.sx);
                box[1] = std::fmin(box[1], p.sy);
                box[2] = std::fmax(box[2], p.sx);
                box[3] = std::fmax(box[3], p.sy);
                if (std::hypot(p.x, p.y) >= BEYOND_RADIUS) view.extendsBeyond = 1;
            }
        }
    }
}

}  // namespace brevix
