// The pending new facet: its values, the points it passes through, and
// what those points solve for.
#include "document/pending_facet.h"

#include <cmath>
#include <optional>

#include "facet_placement/point_solvers.h"
#include "facet_placement/symmetric_point.h"
#include "document/gem_doc.h"
#include "kernel/stone.h"

namespace brevix {

// ---- the pending new facet ---------------------------------------------

void PendingFacet::setAngle(double a, bool trim) {
    const Stone* stone = doc_.stone();
    setInfoAngle(info, a, trim, stone ? stone->gear : 96);
}

void PendingFacet::setIndex(double i, bool trim) { setInfoIndex(info, i, trim); }

void PendingFacet::setCed(double d, bool trim) { setInfoCed(info, d, trim); }

void PendingFacet::setSymmetry(int s, int m) {
    info.symmetry = s;
    info.mirror = m;
    // The design's symmetry is what the next cut uses; no undo entry keeps it.
    DesignModel& model = doc_.model();
    DesignModel::Batch batch(model);
    model.apply({.name = {},
                 .kind = SettingsChanged,
                 .change =
                     [&](DesignModel::Draft& d) {
                         d.stone().symmetry = s;
                         d.stone().mirror = m;
                         return true;
                     },
                 .keep = DesignModel::Keep::None});
    doc_.pendingChanged();
}

void PendingFacet::addPoint(Vec3 p) {
    Diagnostics notes;
    addInfoPoint(info, p, notes);
    doc_.showNotes(notes);
}

void PendingFacet::clearInfo() {
    brevix::clearInfo(info);
    angleFromPoints_ = indexFromPoints_ = defaultDepth_ = false;
}

void PendingFacet::useBetweenPoint(Vec3 p) {
    forgetSolvedValues(info);
    info.nPoints = 0;
    addPoint(p);
    doc_.pendingChanged();
}

void PendingFacet::resetSymmetry() {
    info.symmetry = 8;
    info.mirror = 1;
}

// ---- the Cut Facet form ------------------------------------------------

std::string PendingFacet::angleFieldEdited(std::string_view text) {
    Diagnostics notes;
    const std::optional<double> angle = readAngleField(text, notes);
    doc_.showNotes(notes);
    if (!angle) {
        info.hasAngle = false;
        return {};
    }
    setAngle(*angle, true);
    angleFromPoints_ = false;
    return angleFieldText(*angle);
}

std::string PendingFacet::indexFieldEdited(std::string_view text) {
    const std::optional<double> index = scanDouble(text);
    if (!index) {
        info.hasIndex = false;
        return {};
    }
    setIndex(*index, true);
    indexFromPoints_ = false;
    return indexFieldText(*index);
}

std::string PendingFacet::cedFieldEdited(std::string_view text) {
    const std::optional<double> ced = scanDouble(text);
    if (!ced) {
        info.hasCed = false;
        return {};
    }
    setCed(*ced, true);
    defaultDepth_ = false;
    return cedFieldText(*ced);
}

void PendingFacet::pointsFieldEdited(std::string_view text) {
    forgetSolvedValues(info);
    info.nPoints = 0;
    for (const Vec3& p : readPointsField(text)) addPoint(p);
}

std::string PendingFacet::symmetryFieldEdited(std::string_view text, bool mirrorChecked) {
    Diagnostics notes;
    const std::optional<int> symmetry = readSymmetryField(text, notes);
    doc_.showNotes(notes);
    if (!symmetry) {
        resetSymmetry();
        return {};
    }
    setSymmetry(*symmetry, mirrorChecked ? 1 : 0);
    return symmetryFieldText(*symmetry);
}

void PendingFacet::mirrorToggled(bool checked) { setSymmetry(info.symmetry, checked ? 1 : 0); }

CutFacetFormTexts PendingFacet::formTexts() {
    const bool complete = completeInfo();
    return cutFacetFormTexts(info, complete);
}

// ---- solving from points -----------------------------------------------

bool PendingFacet::completeInfo() {
    Diagnostics notes;
    const bool complete = solveInfo(notes);
    doc_.showNotes(notes);
    return complete;
}

bool PendingFacet::solveInfo(Diagnostics& notes) {
    Stone& stone = doc_.ensureStone();
    if (stone.nFacet - stone.nRough == 0 && info.nPoints == 0 && !info.hasCed && info.hasAngle &&
        info.hasIndex) {
        // The first facet of a rough block has nothing to meet: a girdle
        // outline touching the unit circle, anything else a fixed depth.
        double ced = 0.7;
        if (std::fabs(std::fabs(info.angle) - 90) < EPS) {
            ced = 1.0;
            if (info.symmetry == 3 || info.symmetry > 4) ced = std::cos(PI / info.symmetry);
        }
        setCed(ced, false);
        defaultDepth_ = true;
        return true;
    }
    // Azimuths divide by the gear; with none there is nothing to solve.
    if (stone.gear == 0) return info.complete();

    switch (info.nPoints) {
    case 0:
        return info.complete();
    case 1:
        if (info.hasAngle && info.hasIndex) {
            // A point picked at another facet's place in the tier stands for
            // its image at the base facet, which the cut then records.
            info.points[0] = pointAtBaseFacet(stone, info, info.points[0]);
            setCed(cedThroughPoint(info, stone, notes), false);
            info.solvedCed = true;
            return true;
        }
        if (info.hasIndex && info.hasCed) {
            setAngle(angleThroughPoint(info, stone, notes), false);
            info.solvedAngle = true;
            return true;
        }
        return false;
    case 2: {
        if (info.hasIndex) {
            const PlaneSolution plane = planeThrough2PointsAtIndex(info, stone, notes);
            if (plane.d == 0) return false;
            setAngle(plane.angle, false);
            info.solvedAngle = true;
            setCed(plane.d, false);
            info.solvedCed = true;
            angleFromPoints_ = true;
            return true;
        }
        if (!info.hasAngle) return false;
        if (std::fabs(std::fabs(info.angle) - 90) > 1.0) {
            const PlaneSolution plane = planeThrough2PointsAtAngle(info, stone, notes);
            if (plane.d == 0) return false;
            setIndex(plane.index, false);
            info.solvedIndex = true;
            setCed(plane.d, false);
            info.solvedCed = true;
            indexFromPoints_ = true;
            return true;
        }
        // A vertical facet through two points: the plane that also holds the
        // vertical through their midpoint, turned to the nearest notch.
        const Vec3 mid = (info.points[0] + info.points[1]) * 0.5;
        const PlaneSolution plane =
            planeThrough3Points(info.points[0], info.points[1], mid + Vec3{0, 0, 1.0}, stone, notes);
        if (plane.d == 0) return false;
        setAngle(plane.angle, false);
        info.solvedAngle = true;
        setIndex(std::trunc(plane.index + 0.5), false);
        info.solvedIndex = true;
        setCed(plane.d, false);
        info.solvedCed = true;
        info.points[0] = mid;
        info.nPoints = 1;
        return true;
    }
    case 3: {
        const PlaneSolution plane =
            planeThrough3Points(info.points[0], info.points[1], info.points[2], stone, notes);
        if (plane.d == 0) return false;
        setAngle(plane.angle, false);
        info.solvedAngle = true;
        setIndex(plane.index, false);
        info.solvedIndex = true;
        setCed(plane.d, false);
        info.solvedCed = true;
        angleFromPoints_ = indexFromPoints_ = true;
        return true;
    }
    default:
        return false;
    }
}

}  // namespace brevix
