#pragma once
// Derived measures of a stone kept in its Stats block: bounding box, table
// extent, girdle heights, length and width, volume and centre of mass, and
// the label position of every named facet.
#include "kernel/stone.h"

namespace brevix {

// Fills the bounding box, table, side, girdle and L/W fields of stone.stats.
void computeBounds(Stone& stone);

// Volume of the polyhedron (also stored with the centroid in stone.stats).
// Uses each facet's `anchor` as its fan vertex.
double computeVolume(Stone& stone);

// Length over width of the outline, never below 1; -1 for a flat outline.
double lengthToWidth(Stone& stone);

// Label centre, area and anchor of every named facet: the area-weighted
// mean of the incentres of the facet's fan triangles.
void FacetLabelCenters(Stone& stone);

}  // namespace brevix
