#pragma once
// The dialogs a click in the four view opens (Facet, Meet Point, Point on
// Edge or Between Two Points, Outside Stone (Pierce)) without their widgets:
// the texts of their fields, the arithmetic of choosing a point along an
// edge, and what each button does to the document. The GUI shows the texts
// and reports the button; everything else is decided here.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/tier_edit.h"
#include "kernel/geometry.h"

namespace brevix {

class CGemDoc;
class Stone;

// "%11.8f" of each coordinate.
std::array<std::string, 3> coordinateTexts(Vec3 p);
// The caption of every pick dialog's zoom button.
const char* zoomButtonCaption(bool zoomed);

// What a pick dialog names besides the coordinates, as the cut list names
// facets ("P1 96"), joined by a middle dot: the facets that meet at a
// corner ("G 3\xB7G 93\xB7P1 96"), the two facets of an edge, one facet.
// "" when nothing there is a facet of the design.
std::string facetsMeetingText(CGemDoc& doc, Vec3 p);
std::string edgeFacetsText(CGemDoc& doc, int32_t edge);
std::string facetText(CGemDoc& doc, int32_t facet);

// "Use to Cut" of the Facet, Meet Point, Point on Edge and Pierce dialogs:
// the point joins the pending facet's points and the views are updated.
void usePickedPoint(CGemDoc& doc, Vec3 p);

// ---- Facet ---------------------------------------------------------------

struct FacetDialogFields {
    std::array<std::string, 3> point;  // "Point on Facet Coordinates"
    std::string angle;                 // "%10.6f°"
    std::string index;                 // " %.2f"
    std::string zIntercept;            // "%11.8f", or "infinity" for a girdle facet
    std::string ced;                   // "%11.8f"
    std::string area;                  // "%.4f W²"
    std::string facet;                 // the facet as the cut list names it (filled by the caller)
    TierEditFields edit;               // name, instructions, new angle (editable)
};
FacetDialogFields facetDialogFields(const Stone& stone, int32_t facet, Vec3 point);

enum class FacetDialogResult {
    UseToCut,
    CopyAngle,
    CopyIndex,
    CopyZIntercept,
    CopyCed,
    Apply,
    DeleteTier,
    DeleteFacet,
    Uncut,
    Zoom,
    Cancel,
};
// Carries out the button that closed the dialog on facet `facet` of the
// design; `typed` holds the editable fields as the user left them. True
// when the dialog is to be shown again: after a Copy, until the pending
// facet is complete.
bool applyFacetDialogResult(CGemDoc& doc, int32_t facet, Vec3 point, FacetDialogResult result,
                            const FacetDialogFields& shown, const TierEditFields& typed);

// ---- Point on Edge / Between Two Points -------------------------------------

// A point chosen on the line through a near and a far end: s from the near
// end, t on to the far end, so the point is (t·near + s·far)/(s + t).
struct PointOnEdge {
    Vec3 nearEnd{}, farEnd{};
    double s = 0, t = 0;
    double width = 1;          // the stone's W, the unit of the "W" fields
    bool between = false;      // "Between Two Points": no edge, no angle
    double normalsAngle = 0;   // degrees between the edge's facet normals

    // The end nearer to the picked point is the near end; the point starts at the pick.
    static PointOnEdge onEdge(const Stone& stone, int32_t edge, Vec3 picked);
    // From point 1 toward point 2, starting at point 1.
    static PointOnEdge betweenPoints(const Stone& stone, Vec3 p1, Vec3 p2);

    Vec3 selected() const;
    // "Fraction of\ntotal edge length" and "Fraction of W" left with `text`;
    // false (and nothing changed) when it does not read as a number.
    bool fractionOfLengthEdited(std::string_view text);
    bool fractionOfWidthEdited(std::string_view text);

    struct Texts {
        std::array<std::string, 3> nearEnd, farEnd, difference, selected;
        std::string length, normalsAngle, fractionOfLength, fractionOfWidth;
    };
    Texts texts() const;
};

// ---- Outside Stone (Pierce) --------------------------------------------------

// The three coordinates as typed, against the picked point: none when one
// of them does not read; a coordinate that moved by more than 1e-9 replaces
// the picked one.
std::optional<Vec3> readPierceCoordinates(const std::array<std::string, 3>& typed, Vec3 picked);

}  // namespace brevix
