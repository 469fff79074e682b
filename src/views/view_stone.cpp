#include "views/view_stone.h"

#include <algorithm>

#include "design/measures.h"

namespace brevix {

namespace {

bool sameFacet(const Facet& x, const Facet& y) {
    return x.a == y.a && x.b == y.b && x.c == y.c && x.d == y.d && x.tier == y.tier && x.flags == y.flags &&
           x.name == y.name && x.instruction == y.instruction;
}

bool sameVertex(const Vertex& x, const Vertex& y) { return x.x == y.x && x.y == y.y && x.z == y.z; }

bool sameEdge(const Edge& x, const Edge& y) { return x.v == y.v && x.f == y.f; }

template <class Record, class Same>
bool sameRecords(const std::vector<Record>& x, const std::vector<Record>& y, int32_t count, Same same) {
    return std::equal(x.begin(), x.begin() + count, y.begin(), same);
}

}  // namespace

void copyRays(Stone& copy, const Stone& design) {
    copy.rays.assign(design.rays.begin(), design.rays.begin() + design.nRay);
    copy.nRay = design.nRay;
}

bool showsSameDesign(const Stone& copy, const Stone& design) {
    if (copy.nFacet != design.nFacet || copy.nEdge != design.nEdge || copy.nVertex != design.nVertex ||
        copy.nRay != design.nRay || copy.nRough != design.nRough || copy.nGirdle != design.nGirdle ||
        copy.gear != design.gear || copy.indexOffset != design.indexOffset ||
        copy.refractiveIndex != design.refractiveIndex || copy.symmetry != design.symmetry ||
        copy.mirror != design.mirror || copy.heading != design.heading || copy.footnote != design.footnote)
        return false;
    if (!sameRecords(copy.facets, design.facets, design.nFacet, sameFacet) ||
        !sameRecords(copy.vertices, design.vertices, design.nVertex, sameVertex) ||
        !sameRecords(copy.edges, design.edges, design.nEdge, sameEdge) ||
        static_cast<int32_t>(copy.rays.size()) < design.nRay ||
        !std::equal(design.rays.begin(), design.rays.begin() + design.nRay, copy.rays.begin()))
        return false;
    if (!copy.preform || !design.preform) return !copy.preform && !design.preform;
    return showsSameDesign(*copy.preform, *design.preform);
}

Stone* ViewStone::refresh(const Stone* design) {
    if (!design) {
        copy_.reset();
        return nullptr;
    }
    if (!copy_) {
        copy_.emplace(*design);
        copyRays(*copy_, *design);
    } else if (!showsSameDesign(*copy_, *design)) {
        *copy_ = *design;
        copyRays(*copy_, *design);
    } else {
        // What drawing the copy noted concerns the copy alone.
        (void)copy_->takeDiagnostics();
        return &*copy_;
    }
    (void)copy_->takeDiagnostics();
    FacetLabelCenters(*copy_);
    computeBounds(*copy_);
    computeVolume(*copy_);
    return &*copy_;
}

}  // namespace brevix
