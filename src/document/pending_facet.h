#pragma once
// The pending new facet, the Cut Facet form's model: the values the cutter
// has given for the next tier, the points it must pass through, its symmetry
// and mirror, and what the held points solve for. The cut itself is the
// document's (it changes the design); this only gathers what to cut.
#include <string>
#include <string_view>

#include "facet_placement/cut_facet_form.h"
#include "facet_placement/new_facet_info.h"
#include "kernel/geometry.h"
#include "platform/diagnostics.h"

namespace brevix {

class CGemDoc;

class PendingFacet {
public:
    // The document gives the stone the values are solved against (its gear,
    // its facets), the sink for what the solvers note, and the redraw.
    explicit PendingFacet(CGemDoc& doc) : doc_(doc) {}
    PendingFacet(const PendingFacet&) = delete;
    PendingFacet& operator=(const PendingFacet&) = delete;

    NewFacetInfo info;

    void setAngle(double a, bool trim);
    void setIndex(double i, bool trim);
    void setCed(double d, bool trim);
    // The stone takes the symmetry too; the form and the views follow.
    void setSymmetry(int s, int m);
    void addPoint(Vec3 p);
    void clearInfo();
    void resetSymmetry();
    // "Use to Cut" of the Between Two Points dialog: the point chosen on the
    // segment replaces the two points it was chosen between.
    void useBetweenPoint(Vec3 p);
    // Derives what the held points determine; true when angle, index and
    // depth are all known.
    bool completeInfo();

    // What fixed the values of the last completed facet, for the intent its
    // cut records: the angle or the index solved from two points, or the
    // first facet's default depth.
    bool angleFromPoints() const { return angleFromPoints_; }
    bool indexFromPoints() const { return indexFromPoints_; }
    bool defaultDepth() const { return defaultDepth_; }

    // ---- the form's fields ---------------------------------------------
    // Each edit handler takes the typed text when the field loses the focus
    // and returns what the field shows afterwards.
    std::string angleFieldEdited(std::string_view text);
    std::string indexFieldEdited(std::string_view text);
    std::string cedFieldEdited(std::string_view text);
    void pointsFieldEdited(std::string_view text);
    std::string symmetryFieldEdited(std::string_view text, bool mirrorChecked);
    void mirrorToggled(bool checked);
    // The whole form after a change of the document (completes the info first).
    CutFacetFormTexts formTexts();

private:
    // completeInfo's work, noting why a solver failed.
    bool solveInfo(Diagnostics& notes);

    CGemDoc& doc_;
    bool angleFromPoints_ = false, indexFromPoints_ = false, defaultDepth_ = false;
};

}  // namespace brevix
