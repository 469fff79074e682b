#pragma once
// Derived measures of a stone kept in its Stats block: bounding box, table
// extent, girdle heights, length and width, volume and centre of mass, and
// the label position of every named facet.
#include "kernel/stone.h"

namespace brevix {

// The stone's Stats with the bounding box, table, side, girdle and L/W
// fields worked out afresh (the others as the stone holds them); a reader
// of the design takes its figures from here without writing the stone.
Stats boundsOf(const Stone& stone);
// Fills those fields of stone.stats.
void computeBounds(Stone& stone);

// Volume of the polyhedron and its centre of mass.
struct VolumeAndCentroid {
    double volume = 0;
    Vec3 centroid{};
};
VolumeAndCentroid volumeOf(const Stone& stone);
// The volume, also stored with the centroid in stone.stats; leaves each
// facet's `anchor` on the fan vertex it used.
double computeVolume(Stone& stone);

// The extents a design's proportions are ratios of, from the Stats that
// computeBounds filled: length and width of the outline (L >= W), the
// table's two extents (T >= U), and either pavilion and crown heights P and
// C or, where the crown's lowest corner lies below the pavilion's highest
// (no girdle between them), the whole height H. Zero where absent.
struct Proportions {
    double L = 0, W = 0, T = 0, U = 0;
    double P = 0, C = 0, H = 0;
    bool overlapping = false;  // crown and pavilion overlap in height: H instead of P and C
};
Proportions proportionsOf(const Stats& stats);

// Length over width of the outline, never below 1; -1 for a flat outline.
double lengthToWidth(const Stone& stone);

// Label centre, area and anchor of every named facet: the area-weighted
// mean of the incentres of the facet's fan triangles.
void FacetLabelCenters(Stone& stone);

}  // namespace brevix
