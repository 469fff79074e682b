#pragma once
// Drawing a stone into one projection pane: classification of facets, edges
// and vertices against the viewing direction, then the silhouette, the grey
// faces of the rough block, visible and hidden edges, facet names, dimension
// letters, the index-gear numbers of the top view and the light rays.
//
// Classification writes the view's working fields of the stone (statuses,
// device positions, label pixels, girdle boxes, edge pixel lengths); they
// always describe the pane classified last. Picking in a pane classifies it
// first and then reads exactly those fields, plus View::inGearLabel. So a
// view draws its own copy of a design (view_stone.h), never the document's
// stone.
#include <cmath>
#include <span>

#include "kernel/stone.h"
#include "views/view.h"

namespace brevix {

// A facet standing upright (its normal in the girdle plane) is drawn as girdle.
inline bool isGirdle(const Facet& f) { return std::fabs(f.c) < EPS; }

// Statuses the views give to facets, edges and vertices.
enum ViewStatus : int32_t {
    VS_VISIBLE = 5,  // facet seen at a glancing angle; edge or vertex on a visible facet
    VS_FACING = 6,   // facet turned toward the viewer
    VS_HIDDEN = 7,
};

// The `what` bits of drawStone.
enum DrawBits : unsigned {
    DRAW_SILHOUETTE = 1,  // silhouette polygon, then the rough block's faces in grey
    DRAW_VISIBLE = 2,     // edges of visible facets
    DRAW_HIDDEN = 4,      // the other edges
    DRAW_RAYS = 16,       // the stone's light rays (ray_drawing.h)
    DRAW_LABELS = 32,     // facet names, then dimension letters
    // Leaves out the index numbers around the top and bottom views, which a
    // small picture (a gallery tile) has no room for.
    DRAW_NO_GEAR_LABELS = 64,
};

// A facet normal whose component along w exceeds this looks at the viewer
// head-on; |w.z| above it marks the top and bottom panes.
constexpr double FACING = 0.5;
constexpr double AXIS_PANE = 0.983;

constexpr Rgb ROUGH_FACE_GREY{192, 192, 192};

void classify(Stone& stone, View& view);

// One pane, with the stone's label centres and statistics already current.
// Draws with the canvas's current pen and brush.
void drawStone(Stone& stone, View& view, unsigned what);

// Every pane in turn, after bringing the label centres and statistics up to
// date (the entry the views use).
void drawStonePanes(Stone& stone, std::span<View> panes, unsigned what);
// The same for the stone's preform; nothing without one.
void drawPreformPanes(Stone& stone, std::span<View> panes, unsigned what);

// Pieces of the pane drawing that picking reuses for its highlights; they
// read the classification of the pane drawn last.
void drawFacetOutline(Stone& stone, int32_t facet, View& view);
void fillFacet(const Stone& stone, int32_t facet, View& view);
void drawEdge(const Stone& stone, int32_t edge, View& view);
void drawFacetLabel(const Stone& stone, int32_t facet, View& view);

// Index-gear numbers round the top view (and the clickable last one).
void drawGearLabels(const Stone& stone, View& view);
// The numbers around a view from below, as the pavilion is cut: the
// instructions' pavilion indexes, each beside the facets it names.
void drawPavilionGearLabels(const Stone& stone, View& view);
// How many labels stand round the gear for a symmetry (without the wide-stone case).
int gearLabelCount(int symmetry);

// Dimension letters of the side and end panes; sets the stone's L and W.
void drawDimensions(Stone& stone, View& view);

}  // namespace brevix
