#include "kernel/stone.h"

#include <algorithm>
#include <cmath>

#include "kernel/cut_steps.h"
#include "platform/diag_codes.h"

namespace brevix {

void Facet::computeAxis() {
    if (std::fabs(b) >= std::fabs(a))
        axis = std::fabs(c) >= std::fabs(b) ? 2 : 1;
    else
        axis = std::fabs(c) >= std::fabs(a) ? 2 : 0;
}

void Facet::init(double na, double nb, double nc, double nd, int32_t newTier, bool rough) {
    a = na;
    b = nb;
    c = nc;
    d = nd;
    tier = newTier;
    status = ST_PRESENT;
    flags = rough ? (flags | ROUGH) : (flags & ~uint32_t(ROUGH));
    computeAxis();
}

void Facet::takeRecord(Facet& source) {
    if (&source == this) {
        status = ST_PRESENT;
        flags &= ROUGH;
        return;
    }
    a = source.a;
    b = source.b;
    c = source.c;
    d = source.d;
    tier = source.tier;
    flags = source.flags & ROUGH;
    name = std::move(source.name);
    instruction = std::move(source.instruction);
    source.name.clear();
    source.instruction.clear();
    status = ST_PRESENT;
    computeAxis();
}

Stone::Stone(double halfSize) {
    maxFacet = INITIAL_FACETS;
    maxEdge = INITIAL_EDGES;
    maxVertex = INITIAL_VERTICES;
    facets.resize(maxFacet);
    edges.resize(maxEdge);
    vertices.resize(maxVertex);
    makeRough(halfSize);
}

Stone::Stone(const Stone* source) : Stone(ROUGH_HALF) {
    if (!source) {
        notes_.error(DiagCode::KernelNullCopySource, "NULL in copy constructor");
        return;
    }
    copyFrom(*source);
}

Stone::Stone(const Stone& source) {
    maxFacet = std::max(source.nFacet, FLOOR_FACETS);
    maxEdge = std::max(source.nEdge, FLOOR_EDGES);
    maxVertex = std::max(source.nVertex, FLOOR_VERTICES);
    facets.resize(maxFacet);
    edges.resize(maxEdge);
    vertices.resize(maxVertex);
    copyFrom(source);
}

Stone& Stone::operator=(const Stone& source) {
    if (this != &source) copy(source);
    return *this;
}

void Stone::copy(const Stone& source) {
    if (&source == this) {
        notes_.error(DiagCode::KernelCopyOntoItself, "Stone::copy() source and destination identical");
        return;
    }
    copyFrom(source);
}

Diagnostics Stone::copyInto(Stone* destination, const Stone& source) {
    Diagnostics notes;
    if (!destination) {
        notes.error(DiagCode::KernelNullCopyDestination, "NULL pointer in Stone::copy()");
        return notes;
    }
    destination->copy(source);
    return notes;
}

// Grows an array only when it is too small, to exactly the source's count.
void Stone::copyFrom(const Stone& source) {
    for (int32_t i = 0; i < nFacet; ++i) {
        facets[i].name.clear();
        facets[i].instruction.clear();
    }
    if (maxFacet < source.nFacet) {
        maxFacet = source.nFacet;
        facets.resize(maxFacet);
    }
    if (maxEdge < source.nEdge) {
        maxEdge = source.nEdge;
        edges.resize(maxEdge);
    }
    if (maxVertex < source.nVertex) {
        maxVertex = source.nVertex;
        vertices.resize(maxVertex);
    }
    nFacet = source.nFacet;
    nEdge = source.nEdge;
    nVertex = source.nVertex;
    nRough = source.nRough;
    nGirdle = source.nGirdle;
    roughHalf_ = source.roughHalf_;
    std::copy_n(source.facets.begin(), nFacet, facets.begin());
    std::copy_n(source.edges.begin(), nEdge, edges.begin());
    std::copy_n(source.vertices.begin(), nVertex, vertices.begin());
    // Slots beyond the count must hold no strings.
    for (int32_t i = nFacet; i < maxFacet; ++i) {
        facets[i].name.clear();
        facets[i].instruction.clear();
    }
    preform = source.preform ? std::make_unique<Stone>(*source.preform) : nullptr;
    gear = source.gear;
    indexOffset = source.indexOffset;
    refractiveIndex = source.refractiveIndex;
    symmetry = source.symmetry;
    mirror = source.mirror;
    heading = source.heading;
    footnote = source.footnote;
}

void Stone::makeRough(double s) {
    if (maxFacet < 6) growFacets(maxFacet);
    if (maxEdge < 12) growEdges(maxEdge);
    if (maxVertex < 8) growVertices(maxVertex);
    nVertex = 8;
    nFacet = 6;
    nEdge = 12;
    nRough = 6;
    nGirdle = 0;
    roughHalf_ = s;
    for (int32_t i = 0; i < 8; ++i) {
        Vertex& v = vertices[i];
        v = Vertex{};
        // Each corner lies on its x, y and z faces.
        v.x = s * cut::ROUGH_NORMALS[cut::roughCornerFace(i, 0)][0];
        v.y = s * cut::ROUGH_NORMALS[cut::roughCornerFace(i, 1)][1];
        v.z = s * cut::ROUGH_NORMALS[cut::roughCornerFace(i, 2)][2];
    }
    for (int32_t i = 0; i < 6; ++i) {
        Facet& f = facets[i];
        const double* n = cut::ROUGH_NORMALS[i];
        f.init(n[0], n[1], n[2], s, 0, true);
        f.name.clear();
        f.instruction.clear();
        f.flags = ROUGH;
    }
    const auto& cubeEdges = cut::ROUGH_EDGES;
    for (int32_t i = 0; i < 12; ++i) {
        Edge& e = edges[i];
        e = Edge{};
        e.v = {cubeEdges[i][0], cubeEdges[i][1]};
        e.f = {cubeEdges[i][2], cubeEdges[i][3]};
    }
}

namespace {
int32_t grownCapacity(int32_t capacity, int32_t floor, int32_t count) {
    if (capacity < floor) capacity = floor;
    do {
        capacity += capacity / 2;
    } while (capacity <= count);
    return capacity;
}
}  // namespace

void Stone::growFacets(int32_t count) {
    maxFacet = grownCapacity(maxFacet, FLOOR_FACETS, count);
    facets.resize(maxFacet);
}

void Stone::growEdges(int32_t count) {
    maxEdge = grownCapacity(maxEdge, FLOOR_EDGES, count);
    edges.resize(maxEdge);
}

void Stone::growVertices(int32_t count) {
    maxVertex = grownCapacity(maxVertex, FLOOR_VERTICES, count);
    vertices.resize(maxVertex);
}

void Stone::setPreform(std::unique_ptr<Stone> newPreform) {
    if (newPreform.get() == preform.get()) {
        (void)newPreform.release();  // already ours: nothing changes
        return;
    }
    preform = std::move(newPreform);
}

}  // namespace brevix
