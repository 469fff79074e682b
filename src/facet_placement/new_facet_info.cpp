#include "facet_placement/new_facet_info.h"

#include <algorithm>
#include <cmath>

#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

bool setInfoAngle(NewFacetInfo& info, double a, bool trim, int gear) {
    info.solvedAngle = false;
    if (info.hasAngle && std::fabs(a - info.angle) < UNCHANGED_EPS) return false;
    if (trim) {
        // Angle and index with one point fix the plane; more points would fight it.
        if (info.hasIndex && info.nPoints > 1) info.nPoints = 1;
        if (!info.hasIndex && info.nPoints > 2) info.nPoints = 2;
    }
    info.angle = foldAngle(a);
    info.hasAngle = true;
    if (info.angle == 0) setInfoIndex(info, gear, false);
    return true;
}

bool setInfoIndex(NewFacetInfo& info, double i, bool trim) {
    info.solvedIndex = false;
    if (info.hasIndex && std::fabs(info.index - i) < UNCHANGED_EPS) return false;
    if (trim) {
        if (info.hasAngle && info.nPoints > 1) info.nPoints = 1;
        if (!info.hasAngle && info.nPoints > 2) info.nPoints = 2;
    }
    info.index = i;
    info.hasIndex = true;
    return true;
}

bool setInfoCed(NewFacetInfo& info, double d, bool trim) {
    info.solvedCed = false;
    if (info.hasCed && std::fabs(d - info.ced) < UNCHANGED_EPS) return false;
    if (trim) info.nPoints = 0;
    info.ced = d;
    info.hasCed = true;
    return true;
}

bool addInfoPoint(NewFacetInfo& info, Vec3 p, Diagnostics& notes) {
    for (int k = 0; k < info.nPoints; ++k) {
        if (approxLength(info.points[k] - p) < POINT_EPS) {
            notes.warning(DiagCode::FormPointTooClose, strprintf("New point is too close to point %d.", k + 1));
            return false;
        }
    }
    if (info.nPoints == 3) {
        info.points[0] = info.points[1];
        info.points[1] = info.points[2];
        info.nPoints = 2;
    }
    info.points[info.nPoints++] = p;
    return true;
}

void clearInfo(NewFacetInfo& info) {
    info.hasAngle = info.hasIndex = info.hasCed = false;
    info.solvedAngle = info.solvedIndex = info.solvedCed = false;
    info.nPoints = 0;
}

void forgetSolvedValues(NewFacetInfo& info) {
    if (info.solvedAngle) info.hasAngle = false;
    if (info.solvedIndex) info.hasIndex = false;
    if (info.solvedCed) info.hasCed = false;
    info.solvedAngle = info.solvedIndex = info.solvedCed = false;
}

void clearRecut(NewFacetInfo& info) {
    info.recutName.clear();
    info.recutInstruction.clear();
    info.recutPending = false;
}

double approxLength(Vec3 delta) {
    double v[3] = {std::fabs(delta.x), std::fabs(delta.y), std::fabs(delta.z)};
    std::sort(v, v + 3, [](double p, double q) { return p > q; });
    return v[0] + (v[1] + v[2]) / 4;
}

double foldAngle(double degrees) { return degrees > 90 ? degrees - 180 : degrees; }

}  // namespace brevix
