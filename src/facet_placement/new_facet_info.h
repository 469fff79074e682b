#pragma once
// The pending new facet: what the cutter has said so far about the next
// tier (angle, index, depth, points to pass through) and how often it is
// repeated around the dop axis. The document keeps one; the form, the
// Angle/Index commands, the pick dialogs and the point solvers fill it.
#include <array>
#include <string>

#include "kernel/geometry.h"
#include "platform/diagnostics.h"

namespace brevix {

struct NewFacetInfo {
    double angle = 0;  // degrees; + crown, - pavilion, 0 table, +-90 girdle
    bool hasAngle = false;
    double index = 0;  // notch on the gear, may be fractional
    bool hasIndex = false;
    double ced = 0;  // centre-to-facet distance
    bool hasCed = false;
    int nPoints = 0;  // 0..3 points the plane must pass through
    std::array<Vec3, 3> points{};
    int symmetry = 8;
    int mirror = 1;
    // The values the point solvers derived from the held points rather
    // than the cutter typed: they go when those points do.
    bool solvedAngle = false, solvedIndex = false, solvedCed = false;

    // A tier taken out for editing; the next cut puts its replacement back.
    bool recutPending = false;
    std::string recutName;         // empty = none
    std::string recutInstruction;  // empty = none
    double recutIndex = 0;
    int recutFirstFacet = 0;
    int recutPlace = 0;

    bool complete() const { return hasAngle && hasIndex && hasCed; }
};

// Typed values within this of the held one count as unchanged.
constexpr double UNCHANGED_EPS = 1e-5;
// Points closer than this (by approxLength) count as the same point.
constexpr double POINT_EPS = 0.001;

// The setters below return true when the value changed. `trim` is set for
// values typed into the Cut Facet form: a typed value overrides whatever the
// held points implied, so the points that over-determine the plane go.
// `gear` is the stone's signed gear (96 without a stone): angle 0 puts the
// index on the last notch, since a table has no azimuth.
bool setInfoAngle(NewFacetInfo& info, double a, bool trim, int gear);
bool setInfoIndex(NewFacetInfo& info, double i, bool trim);
bool setInfoCed(NewFacetInfo& info, double d, bool trim);
// Notes "New point is too close to point %d." and returns false when p is
// within POINT_EPS of a held point; keeps the newest three.
bool addInfoPoint(NewFacetInfo& info, Vec3 p, Diagnostics& notes);
void clearInfo(NewFacetInfo& info);
// Unsets the values solved from points, for when the points change: a value
// left from points that are gone would arm a cut nobody asked for.
void forgetSolvedValues(NewFacetInfo& info);
void clearRecut(NewFacetInfo& info);

// Cheap distance estimate: largest component plus a quarter of the others.
double approxLength(Vec3 delta);

// An angle of a plane normal from +z (0..180) as a facet angle: above 90 it
// becomes a pavilion angle (value - 180).
double foldAngle(double degrees);

}  // namespace brevix
