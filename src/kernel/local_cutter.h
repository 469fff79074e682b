#pragma once
// The local cutter behind cutPlanesInTurn and PlaneCutSession: the stone's
// vertex graph kept beside its arrays, with removed records left in their
// slots until they are compacted. Its work is split by step: finding and
// flooding the cap (local_cutter.cpp), judging it as newFacet would
// (local_cut_cap.cpp) and writing it into the stone (local_cut_commit.cpp).
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "kernel/local_cut.h"
#include "kernel/stone.h"

namespace brevix::local_cut {

// Vertices farther inside than this cannot be reached by a cut. The flood
// of a cap spreads through every vertex above it, so that neither rounding
// nor points a merge left up to EPS3 off their planes can cut a cap in two.
inline constexpr double LOCAL_CUT_REACH = 1e-6;

// A stone smaller than this across is cut by newFacet alone. Its
// tolerances are absolute, so on a stone cut down to a few thousandths
// points within them come out far off their planes for its size, and its
// corners need not be convex enough for the walk and the flood to find
// every one a plane reaches. Designs are about a unit across.
inline constexpr double LOCAL_CUT_SMALLEST_EXTENT = 0.05;

// newFacet ignores such a plane outright.
bool localCutPlaneUsable(const PlaneToCut& p);

// Directions on the sphere, in cells of a cube around it: a cut leaves its
// new points far out along its normal, so the points of the last cut in a
// cell start the walk of the next plane with a nearby normal. Coarse cells
// are met again soon; fine ones start nearer when they are.
inline constexpr int LOCAL_CUT_COARSE_CELLS = 2, LOCAL_CUT_FINE_CELLS = 4;
inline constexpr int LOCAL_CUT_HINTS =
    6 * (LOCAL_CUT_COARSE_CELLS * LOCAL_CUT_COARSE_CELLS + LOCAL_CUT_FINE_CELLS * LOCAL_CUT_FINE_CELLS);

// The coarse cell of a direction and then its fine cell, as indexes of the hints.
std::array<int, 2> localCutCellsOf(double x, double y, double z);

// Grows a working array by a few slots without the library's general fill.
template <class T>
inline void growTo(std::vector<T>& v, size_t size, T value) {
    while (v.size() < size) v.push_back(value);
}

class LocalCutter {
public:
    LocalCutter(Stone& stone, int32_t smallestStone) : s_(stone), smallestStone_(smallestStone) {}

    // newFacet's result: the facets the plane removed, -1 when it cut nothing.
    int cut(PlaneToCut& plane);

    // The arrays hold no removed records: every part of the program may read them.
    bool compact() const { return !entered_; }
    const LocalCutCounts& counts() const { return counts_; }

    // Compacts the slots into the arrays every other part of the program
    // reads, with the working marks a cut by newFacet would have left.
    void leave();

private:
    // Takes the compacted arrays as they are: every record alive, the
    // vertex graph gathered from the edges.
    void enter();
    bool tooSmallToCutLocally() const;

    int cutByNewFacet(PlaneToCut& plane);

    int32_t otherEnd(int32_t edge, int32_t vertex) const {
        const Edge& e = s_.edges[edge];
        return e.v[0] == vertex ? e.v[1] : e.v[0];
    }

    template <class Visit>
    void forIncident(int32_t vertex, Visit visit) const {
        const int32_t first = firstIncident_[vertex];
        for (int32_t k = 0; k < incidentCount_[vertex]; ++k) visit(incident_[first + k]);
    }

    // A vertex higher than `top` next to the plateau of vertices within
    // LOCAL_CUT_REACH below it that `top` belongs to, or -1.
    template <class Distance>
    int32_t wayOffPlateau(int32_t top, double topDistance, const Distance& distanceOf, double& higherDistance) {
        ++generation_;
        plateau_.clear();
        plateau_.push_back(top);
        vertexSeen_[top] = generation_;
        int32_t higher = -1;
        higherDistance = topDistance;
        for (size_t k = 0; k < plateau_.size(); ++k) {
            const int32_t u = plateau_[k];
            forIncident(u, [&](int32_t edge) {
                const int32_t w = otherEnd(edge, u);
                if (vertexSeen_[w] == generation_) return;
                vertexSeen_[w] = generation_;
                const double dw = distanceOf(w);
                if (dw > higherDistance) {
                    higher = w;
                    higherDistance = dw;
                } else if (dw > topDistance - LOCAL_CUT_REACH) {
                    plateau_.push_back(w);
                }
            });
        }
        return higher;
    }

    // No live vertex lies outside the plane.
    template <class Distance>
    bool noCornerOutside(const Distance& distanceOf) const {
        for (int32_t i = 0; i < s_.nVertex; ++i)
            if (vertexAlive_[i] && !(distanceOf(i) <= EPS)) return false;
        return true;
    }

    // The cut of one plane, vertices on it (meets) included: false (with the
    // records as they were, but for working marks newFacet sets anew) when
    // it comes near enough anything for a merge, a note or a judgement of
    // newFacet's own, and must be left to newFacet.
    bool cutLocally(PlaneToCut& plane, int& removed);

    // Classifies the edges with an end outside or on the plane, in index
    // order, and their facets as newFacet does; gathers where the crossing
    // edges meet the plane. False where newFacet would not come out whole
    // or would note something.
    bool classifyCap();

    // No two points near the plane, old or new, closer than a merge or a
    // note would find them.
    bool pointsApart();

    // The ring vertex where a crossing edge meets the plane: its new point,
    // or its end on the plane (numbered after the new points).
    int32_t ringVertexOf(int32_t edge, int32_t pointCount) const;

    Vec3 ringPosition(int32_t ringVertex, int32_t pointCount) const;

    // The new facet's outline, its closing edges (one per shrunk facet, none
    // short enough for a note) and the edges it takes over from the plane,
    // is one ring through every point on the plane.
    bool ringIsWhole(int32_t pointCount, int32_t& closing);

    // The facets removed, rough faces of the block not counted (as newFacet counts).
    int commit(PlaneToCut& plane, int32_t verticesOut, int32_t edgesOut, int32_t facetsOut, int32_t closing);

    // The end of a crossing edge on the plane: its new point, or the old
    // vertex the plane passes through (still marked on it).
    int32_t endOnPlane(int32_t crossingEdge, int32_t firstPoint) const;

    // As newFacet closes a shrunk facet: the edge runs along the normals'
    // cross product, and its new end points know it.
    void appendClosingEdge(int32_t va, int32_t vb, int32_t fa, int32_t fb);

    Stone& s_;
    int32_t smallestStone_;
    LocalCutCounts counts_;
    // Slots and the vertex graph are in use; the arrays are not compacted.
    bool entered_ = false, lastCutWasLocal_ = false;
    int32_t misses_ = 0, skip_ = 0;
    std::vector<uint8_t> vertexAlive_, edgeAlive_, facetAlive_;
    int32_t liveVertices_ = 0, liveEdges_ = 0, liveFacets_ = 0;
    std::vector<uint32_t> vertexSeen_, edgeSeen_, edgeCommitted_, facetSeen_;
    std::vector<int32_t> facetSlot_;
    uint32_t generation_ = 0, lastCutGeneration_ = 0;
    // The vertex graph: incident_[firstIncident_[v] + k] for k < incidentCount_[v].
    std::vector<int32_t> firstIncident_, incidentCount_, incident_;
    int32_t lastFacet_ = 0, walkFrom_ = 0;
    std::vector<int32_t> startHints_;  // by localCutCellsOf, a vertex slot or -1
    // Working lists of one cut.
    std::vector<int32_t> visited_, stack_, near_, onPlane_, edgesCut_, edgeClass_, inPlane_, facetsCut_, order_;
    std::vector<int32_t> onPlaneIndex_;  // by vertex slot: its place in onPlane_ during a cut
    std::vector<int32_t> touches_;       // per vertex on the plane: its edges kept into the stone
    std::vector<std::array<int32_t, 3>> crossings_;  // two crossing edges and their count, per facet cut
    std::vector<uint32_t> facetFlags_;
    std::vector<int32_t> fates_;  // per facet cut: newFacet's status for it
    std::vector<Vec3> points_, apart_;
    std::vector<std::array<int32_t, 2>> ringEnds_, ringEdges_;
    std::vector<int32_t> kept_, facetOrder_, plateau_;
    std::vector<int32_t> edgePoint_;  // by edge slot: the point a crossing edge gives during a cut
    std::vector<int32_t> vertexMap_, facetMap_;
};

}  // namespace brevix::local_cut
