#include "design/preform.h"

#include <cmath>
#include <vector>

#include "design/measures.h"
#include "design/tiers.h"
#include "design/transforms.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

constexpr double kTopLimit = 1.0;

// Caps the preform at the design's height. The cap is flagged as a face of
// the rough block so that it is neither listed nor counted as a design
// facet; it is counted with the rough faces so that a later cut that
// removes it keeps the count right.
void addTopPlane(Stone& preform, double maxZ) {
    if (preform.newFacet(0, 0, 1, maxZ) < 0) {
        preform.addNote(DiagKind::Warning, DiagCode::DesignPreformTopMisses, "Top facet misses");
        return;
    }
    preform.facets[preform.nFacet - 1].flags |= ROUGH;
    ++preform.nRough;
}

// Keeps the facets up to the last girdle facet; false when there is none.
bool cutBackToGirdle(Stone& preform) {
    int32_t last = -1;
    // Faces of the rough block are vertical too, but they are no girdle.
    for (int32_t i = 0; i < preform.nFacet; ++i)
        if (!preform.facets[i].isRough() && std::fabs(preform.facets[i].c) < EPS) last = i;
    if (last < 0) return false;
    for (int32_t i = last + 1; i < preform.nFacet; ++i) preform.facets[i].status = ST_DELETE;
    preform.rebuildWithout();
    return true;
}

// Leaves the girdle facets of a design copy and the rough block. A copy
// without girdle facets keeps all its planes.
void keepGirdleOnly(Stone& preform) {
    std::vector<int32_t> doomed;
    bool anyGirdle = false;
    for (int32_t i = 0; i < preform.nFacet; ++i) {
        const Facet& f = preform.facets[i];
        if (f.isRough()) continue;
        if (std::fabs(f.c) < EPS)
            anyGirdle = true;
        else
            doomed.push_back(i);
    }
    if (!anyGirdle || doomed.empty()) return;
    for (int32_t i : doomed) preform.facets[i].status = ST_DELETE;
    preform.rebuildWithout();
}

}  // namespace

void deletePreform(Stone& design) { design.preform.reset(); }

void copyToPreform(Stone& design, const Stone& source) {
    // The design's own preform is dropped before the copy is taken, so that a
    // design copied onto itself does not carry its old preform along; any
    // other source is copied first, as it may live inside the old preform.
    std::unique_ptr<Stone> fresh;
    if (&source != &design) fresh = std::make_unique<Stone>(source);
    if (design.preform) {
        design.preform.reset();
        design.addNote(DiagKind::Information, DiagCode::DesignPreformDeleted, "Existing preform deleted.");
    }
    if (!fresh) fresh = std::make_unique<Stone>(source);
    design.preform = std::move(fresh);
    Stone& preform = *design.preform;
    if (cutBackToGirdle(preform)) {
        // A stale or never computed box would put the cap anywhere.
        computeBounds(design);
        if (design.stats.maxZ < kTopLimit) addTopPlane(preform, design.stats.maxZ);
    }
    design.addNotes(preform.takeDiagnostics());
}

namespace {

// Marks the design's pavilion for the fit: status 5 on the vertices and edges
// of the pavilion outline, 7 elsewhere.
void markPavilionOutline(Stone& design) {
    for (int32_t i = 0; i < design.nFacet; ++i)
        design.facets[i].status = design.facets[i].c >= -EPS ? 7 : 5;
    for (int32_t i = 0; i < design.nVertex; ++i) design.vertices[i].status = 7;
    for (int32_t j = 0; j < design.nEdge; ++j) {
        Edge& e = design.edges[j];
        if (design.facets[e.f[0]].status == 7 && design.facets[e.f[1]].status == 7) {
            e.status = 7;
        } else {
            e.status = 5;
            design.vertices[e.v[0]].status = 5;
            design.vertices[e.v[1]].status = 5;
        }
    }
}

// The marks were working data of the search; the design goes back to the
// state every other operation expects.
void clearMarks(Stone& design) {
    for (int32_t i = 0; i < design.nFacet; ++i) design.facets[i].status = ST_PRESENT;
    for (int32_t i = 0; i < design.nVertex; ++i) design.vertices[i].status = ST_PRESENT;
    for (int32_t j = 0; j < design.nEdge; ++j) design.edges[j].status = ST_PRESENT;
}

// Planes from the edges of the rough block's top face down to the axis.
void cutPyramidFromTop(Stone& preform) {
    struct Segment {
        Vec3 p0, p1;
    };
    std::vector<Segment> top;
    for (int32_t j = 0; j < preform.nEdge; ++j) {
        const Edge& e = preform.edges[j];
        bool onTop = false, otherRough = false;
        for (int k = 0; k < 2; ++k) {
            const Facet& f = preform.facets[e.f[k]];
            if (!f.isRough()) continue;
            if (f.c == 1)
                onTop = true;
            else
                otherRough = true;
        }
        if (onTop && !otherRough) top.push_back({preform.edgeEnd(j, 0), preform.edgeEnd(j, 1)});
    }
    for (const Segment& s : top) {
        const Vec3 p0{s.p0.x, s.p0.y, -0.5}, p1{s.p1.x, s.p1.y, -0.5}, apex{0, 0, -1};
        const double det = dot(p0, cross(p1, apex));
        if (std::fabs(det) < EPS) {
            preform.addNote(DiagKind::Warning, DiagCode::DesignPreformFlatPlane,
                            strprintf("  x    y    z\n0 %f %f %f\n1 %f %f %f\n2 %f %f %f", p0.x, p0.y, p0.z,
                                      p1.x, p1.y, p1.z, apex.x, apex.y, apex.z));
            continue;
        }
        Vec3 n = cross(p1 - p0, apex - p0);
        const double len = length(n);
        n = n * (1 / len);
        double d = det / len;
        if (d < 0) {
            n = n * -1.0;
            d = -d;
        }
        preform.newFacet(n.x, n.y, n.z, d);
    }
}

// Fits the preform's pavilion to the marked design from outside: moved down
// to the outline vertex it clears least, and stretched so that it also
// touches the next one.
void fitPavilionFromOutside(Stone& design, Stone& preform) {
    double d1 = 1e10, z1 = 0;
    for (int32_t i = 0; i < design.nVertex; ++i) {
        Vertex& v = design.vertices[i];
        if (v.status != 5) continue;
        double clearance = 1e10;
        for (int32_t k = 0; k < preform.nFacet; ++k) {
            const Facet& f = preform.facets[k];
            if (f.isRough() || f.c > -EPS) continue;
            clearance = std::min(clearance, v.z - (f.d - f.a * v.x - f.b * v.y) / f.c);
        }
        v.dist = clearance;
        if (clearance < d1) {
            d1 = clearance;
            z1 = v.z;
        }
    }
    double d2 = 1e10, z2 = 0;
    for (int32_t i = 0; i < design.nVertex; ++i) {
        const Vertex& v = design.vertices[i];
        if (v.status == 5 && v.dist > d1 + 0.01 && v.dist < d2) {
            d2 = v.dist;
            z2 = v.z;
        }
    }
    clearMarks(design);
    if (d1 >= 1e10) return;
    // Without a second vertex, or with one that gives no sensible stretch,
    // the pavilion keeps its angles and is only moved.
    double f = 1;
    if (d2 < 1e10) {
        const double rise = z2 - z1, denominator = (z2 - z1) - (d2 - d1);
        if (denominator != 0 && rise / denominator > 0) f = rise / denominator;
    }
    computeBounds(preform);
    preform.stats.pavilionTop = z1 - d1;
    if (f != 1) scaleStone(preform, SCALE_PAVILION, f);
    centerStone(preform, CENTER_Z, CENTER_ON_POINT, {0, 0, -d1});
    preform.regenerate();
}

// The pavilion tiers first, named P1, P2, … in cutting order, and the cap.
// False when the preform kept no sloped facet.
bool nameTiersAndCap(const Stone& design, Stone& preform) {
    int32_t first = -1;
    for (int32_t i = 0; i < preform.nFacet && first < 0; ++i)
        if (!preform.facets[i].isRough() && std::fabs(preform.facets[i].c) > EPS) first = i;
    if (first < 0) return false;
    if (first > 0) moveFacets(preform, first, 0);
    int counter = 0;
    int32_t lastTier = -1;
    bool any = false;
    for (int32_t i = 0; i < preform.nFacet; ++i) {
        Facet& f = preform.facets[i];
        if (f.isRough() || std::fabs(f.c) <= EPS) continue;
        if (any && f.tier == lastTier) continue;
        any = true;
        lastTier = f.tier;
        preform.setFacetName(i, strprintf("P%d", ++counter));
    }
    if (design.stats.maxZ < kTopLimit) addTopPlane(preform, design.stats.maxZ);
    return true;
}

}  // namespace

int makeCamPreform(Stone& design) {
    design.preform.reset();
    auto fresh = std::make_unique<Stone>(design);
    fresh->preform.reset();
    bool sloped = false;
    for (int32_t i = 0; i < design.nFacet; ++i)
        if (!design.facets[i].isRough() && std::fabs(design.facets[i].c) >= EPS) sloped = true;
    if (!sloped) {
        design.addNote(DiagKind::Warning, DiagCode::DesignNoPavilionFacets, "No pavilion facets");
        return 1;
    }
    design.preform = std::move(fresh);
    Stone& preform = *design.preform;
    // The user expects the girdle outline with new pavilion planes, not the
    // design's own pavilion scaled along.
    keepGirdleOnly(preform);
    computeBounds(design);
    markPavilionOutline(design);
    cutPyramidFromTop(preform);
    fitPavilionFromOutside(design, preform);
    nameTiersAndCap(design, preform);
    design.addNotes(preform.takeDiagnostics());
    return 0;
}

bool enterPreformEdit(std::unique_ptr<Stone>& current, std::unique_ptr<Stone>& hidden) {
    if (!current || !current->preform) return false;
    std::unique_ptr<Stone> preform = std::move(current->preform);
    hidden = std::move(current);
    current = std::move(preform);
    return true;
}

void leavePreformEdit(std::unique_ptr<Stone>& current, std::unique_ptr<Stone>& hidden) {
    if (!hidden) return;
    hidden->setPreform(std::move(current));
    current = std::move(hidden);
}

}  // namespace brevix
