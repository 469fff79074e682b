#include "document/pick_dialogs.h"

#include <cmath>
#include <memory>

#include "design/measures.h"
#include "design/tiers.h"
#include "facet_placement/cut_facet_form.h"
#include "document/gem_doc.h"
#include "document/stone_commands.h"
#include "intent/design_intent.h"
#include "intent/intent_words.h"
#include "intent/point_resolution.h"
#include "kernel/kernel_error.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

// A stone too flat to have a width still gives numbers, not infinities.
double widthOf(const Stone& stone) {
    const double W = boundsOf(stone).W;
    return W > EPS ? W : 1.0;
}

std::string withWidth(double value, double width) {
    return strprintf("%6.3f = %6.3fW", value, value / width);
}

// A facet of the stone as the cut list names it: its tier's name and its index.
std::string nameOfFacet(const Stone& stone, const DesignIntent& intent, int32_t facet) {
    const int32_t tier = intentTierOfFacet(stone, intent, facet);
    if (tier >= 0) {
        const Facet& f = stone.facets[facet];
        const TierIntent& t = intent.tiers[tier];
        for (size_t k = 0; k < t.planes.size() && k < t.indexes.size(); ++k)
            if (t.planes[k] == f.plane()) return facetWords(stone, intent, {tier, t.indexes[k]});
    }
    return stone.facetName(facet);
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        if (name.empty()) continue;
        if (!text.empty()) text += "\xB7";
        text += name;
    }
    return text;
}

void afterPendingChange(CGemDoc& doc) { doc.pendingChanged(); }

}  // namespace

std::array<std::string, 3> coordinateTexts(Vec3 p) {
    return {strprintf("%11.8f", p.x), strprintf("%11.8f", p.y), strprintf("%11.8f", p.z)};
}

std::string facetsMeetingText(CGemDoc& doc, Vec3 p) {
    const Stone* stone = doc.stone();
    if (!stone) return {};
    const DesignIntent& intent = doc.model().intent();
    std::vector<std::string> names;
    for (int32_t i = 0; i < stone->nFacet; ++i) {
        const Facet& f = stone->facets[i];
        if (f.isRough() || std::fabs(f.a * p.x + f.b * p.y + f.c * p.z - f.d) > MEET_TOLERANCE) continue;
        names.push_back(nameOfFacet(*stone, intent, i));
    }
    return joined(names);
}

std::string edgeFacetsText(CGemDoc& doc, int32_t edge) {
    const Stone* stone = doc.stone();
    if (!stone || edge < 0 || edge >= stone->nEdge) return {};
    const DesignIntent& intent = doc.model().intent();
    std::vector<std::string> names;
    for (int32_t f : stone->edges[edge].f)
        if (!stone->facets[f].isRough()) names.push_back(nameOfFacet(*stone, intent, f));
    return joined(names);
}

std::string facetText(CGemDoc& doc, int32_t facet) {
    const Stone* stone = doc.stone();
    if (!stone || facet < 0 || facet >= stone->nFacet || stone->facets[facet].isRough()) return {};
    return nameOfFacet(*stone, doc.model().intent(), facet);
}

const char* zoomButtonCaption(bool zoomed) { return zoomed ? "&Zoom Out" : "&Zoom In"; }

void usePickedPoint(CGemDoc& doc, Vec3 p) {
    doc.pending().addPoint(p);
    afterPendingChange(doc);
}

// ---- Facet ---------------------------------------------------------------

FacetDialogFields facetDialogFields(const Stone& stone, int32_t facet, Vec3 point) {
    FacetDialogFields out;
    const Facet& f = stone.facets[facet];
    const double width = widthOf(stone);
    out.point = coordinateTexts(point);
    out.angle = strprintf("%10.6f\xB0", stone.facetAngleOf(facet));
    out.index = strprintf(" %.2f", stone.gear == 0 ? 0.0 : stone.facetIndexOf(facet));
    out.zIntercept = std::fabs(f.c) >= EPS ? strprintf("%11.8f", f.d / f.c) : "infinity";
    out.ced = strprintf("%11.8f", f.d);
    out.area = strprintf("%.4f W\xB2", stone.facetArea(facet) / (width * width));
    out.edit = tierEditFields(stone, facet);
    out.edit.name = stone.facetName(facet);
    return out;
}

bool applyFacetDialogResult(CGemDoc& doc, int32_t facet, Vec3 point, FacetDialogResult result,
                            const FacetDialogFields& shown, const TierEditFields& typed) {
    Stone* stone = doc.stone();
    if (!stone || facet < 0 || facet >= stone->nFacet) return false;
    const Facet& f = stone->facets[facet];
    const auto copied = [&doc] {
        doc.pendingChanged();
        return !doc.pending().completeInfo();
    };
    switch (result) {
    case FacetDialogResult::UseToCut:
        usePickedPoint(doc, point);
        return false;
    case FacetDialogResult::CopyAngle:
        doc.pending().setAngle(stone->facetAngleOf(facet), false);
        return copied();
    case FacetDialogResult::CopyIndex:
        if (stone->gear == 0) {
            doc.say("Zero index gear", Icon::Warning);
            return false;
        }
        doc.pending().setIndex(stone->facetIndexOf(facet), false);
        return copied();
    case FacetDialogResult::CopyZIntercept:
        if (std::fabs(f.c) < EPS) {
            doc.say("Girdle facets don't hit Z axis");
            return false;
        }
        doc.pending().addPoint({0, 0, f.d / f.c});
        return copied();
    case FacetDialogResult::CopyCed:
        doc.pending().setCed(f.d, false);
        return copied();
    case FacetDialogResult::Apply:
        applyFacetEdit(doc, TierRow{stone, facet, false}, shown.edit, typed);
        return false;
    case FacetDialogResult::DeleteTier:
        applyTierEdit(doc, TierRow{stone, facet, false}, TierEditAction::DeleteTier, shown.edit,
                      typed);
        return false;
    case FacetDialogResult::DeleteFacet:
        runStoneCommand(doc, "Delete Facet", [&](Stone& s) { deleteFacet(s, facet); });
        return false;
    case FacetDialogResult::Uncut:
        doc.uncutTier(facet);
        return false;
    case FacetDialogResult::Zoom:
    case FacetDialogResult::Cancel:
        return false;
    }
    return false;
}

// ---- Point on Edge -------------------------------------------------------------

PointOnEdge PointOnEdge::onEdge(const Stone& stone, int32_t edge, Vec3 picked) {
    PointOnEdge out;
    out.width = widthOf(stone);
    const Vec3 a = stone.edgeEnd(edge, 0), b = stone.edgeEnd(edge, 1);
    const bool aNearer = length(picked - a) <= length(picked - b);
    out.nearEnd = aNearer ? a : b;
    out.farEnd = aNearer ? b : a;
    out.s = length(picked - out.nearEnd);
    out.t = length(picked - out.farEnd);
    out.normalsAngle = stone.dihedralAngle(edge);
    return out;
}

PointOnEdge PointOnEdge::betweenPoints(const Stone& stone, Vec3 p1, Vec3 p2) {
    PointOnEdge out;
    out.width = widthOf(stone);
    out.nearEnd = p1;
    out.farEnd = p2;
    out.s = 0;
    out.t = length(p2 - p1);
    out.between = true;
    return out;
}

Vec3 PointOnEdge::selected() const {
    const double total = s + t;
    // Both ends in one place: the point is that place.
    if (std::fabs(total) < 1e-300) return nearEnd;
    return (nearEnd * t + farEnd * s) * (1 / total);
}

bool PointOnEdge::fractionOfLengthEdited(std::string_view text) {
    const std::optional<double> q = scanDouble(text);
    if (!q) return false;
    const double total = s + t;
    s = *q * total;
    t = total - s;
    return true;
}

bool PointOnEdge::fractionOfWidthEdited(std::string_view text) {
    const std::optional<double> q = scanDouble(text);
    if (!q) return false;
    const double total = s + t;
    s = *q * width;
    t = total - s;
    return true;
}

PointOnEdge::Texts PointOnEdge::texts() const {
    Texts out;
    out.nearEnd = coordinateTexts(nearEnd);
    out.farEnd = coordinateTexts(farEnd);
    const Vec3 d = nearEnd - farEnd;
    out.difference = {withWidth(d.x, width), withWidth(d.y, width), withWidth(d.z, width)};
    out.length = withWidth(length(d), width);
    out.normalsAngle = between ? std::string() : strprintf("%.2f\xB0", normalsAngle);
    out.selected = coordinateTexts(selected());
    const double total = s + t;
    out.fractionOfLength = strprintf("%11.8f", total > 0 ? s / total : 0.0);
    out.fractionOfWidth = strprintf("%11.8f", s / width);
    return out;
}

// ---- Pierce ---------------------------------------------------------------------

std::optional<Vec3> readPierceCoordinates(const std::array<std::string, 3>& typed, Vec3 picked) {
    double values[3] = {picked.x, picked.y, picked.z};
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> v = scanDouble(typed[i]);
        if (!v) return std::nullopt;
        if (std::fabs(*v - values[i]) > 1e-9) values[i] = *v;
    }
    return Vec3{values[0], values[1], values[2]};
}

}  // namespace brevix
