#pragma once
// What lies under the pointer in one pane of the four view: a meet point, an
// edge, a facet (or the rim of one that faces away), or empty space. It reads
// the projection the last classification of that pane left in the stone, so
// the caller classifies the pane first.
#include <cstdint>

#include "kernel/stone.h"
#include "views/view.h"

namespace brevix {

// The values are the ones the status bar, the markers and the click rule
// are keyed on; their order is fixed.
enum PickKind : int {
    PickNone = 0,          // outside every pane
    PickSpace = 1,         // a pane, but no part of the stone
    PickMarginFacet = 2,   // near the edge of a facet that faces away
    PickFacet = 3,         // inside a facet that faces the viewer
    PickMeet = 4,          // a vertex (meet point)
    PickEdge = 5,          // an edge
    PickGearLabel = 6,     // the clickable gear label of the top view
};

struct PickResult {
    PickKind kind = PickNone;
    int32_t index = -1;    // vertex, edge or facet; -1 for the others
    double x = 0, y = 0;   // device position, snapped onto a vertex or an edge when one was hit
    Vec3 point{};          // the picked point in world coordinates
};

// Pointer at (x, y) in device units; `tol` in pixels; `noVertices` leaves
// meet points out (the pointer then finds the edges and facets round them).
PickResult pick(const Stone& stone, double x, double y, const View& view, double tol,
                bool noVertices);

// The point of the facet's plane that projects to (x, y).
Vec3 pointOnFacetPlane(const Facet& facet, const View& view, double x, double y);

}  // namespace brevix
