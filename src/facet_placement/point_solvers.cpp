#include "facet_placement/point_solvers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "facet_placement/placement.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"

namespace brevix {

namespace {

constexpr double TEN_DEGREES = 0.17453292519943295;
constexpr double FIVE_DEGREES = 0.08726646259971647;
constexpr int MAX_ITERATIONS = 1000;

// Rounding slack of acos: a cosine a hair above 1 is 1.
double clampCosine(double c) { return (c > 1 && c < 1.1) ? 1 : c; }

double angleOfCosine(double c) { return foldAngle(std::acos(clampCosine(c)) * DEG_PER_RAD); }

double det3(Vec3 r0, Vec3 r1, Vec3 r2) { return dot(r0, cross(r1, r2)); }

double wrapTwoPi(double az) {
    while (az < 0) az += TWO_PI;
    while (az >= TWO_PI) az -= TWO_PI;
    return az;
}

}  // namespace

double indexOfDirection(double kx, double ky, const Stone& stone) {
    const double notches = std::abs(stone.gear);
    double index = indexAtAzimuth(std::atan2(kx, ky), stone.gear, stone.indexOffset);
    if (notches > 0) {
        while (index > notches) index -= notches;
        while (index < 0) index += notches;
    }
    return index;
}

double cedThroughPoint(NewFacetInfo& info, const Stone& stone, Diagnostics& /*notes*/) {
    if (info.angle == 0) info.index = 0;
    const double az = azimuthOf(info.index, stone.gear, stone.indexOffset);
    const double a = info.angle * PI / 180;
    Vec3 n{std::sin(az) * std::sin(a), std::cos(az) * std::sin(a), std::cos(a)};
    if (a < 0) n = n * -1.0;
    return dot(n, info.points[0]);
}

double angleThroughPoint(NewFacetInfo& info, const Stone& stone, Diagnostics& notes) {
    const Vec3 p = info.points[0];
    const double az = wrapTwoPi(azimuthOf(info.index, stone.gear, stone.indexOffset));
    if (length(p) < info.ced) {
        notes.warning(DiagCode::SolverCedReduced, "Point closer to origin than CED.\nCED reduced.");
        info.ced = length(p);
    }
    const double horizontal = std::sin(az) * p.x + std::cos(az) * p.y;
    const auto f = [&](double a) { return std::sin(a) * horizontal + std::cos(a) * p.z - info.ced; };
    double a0 = 0, f0 = f(0);
    double a1 = TEN_DEGREES;
    for (int i = 0; i < MAX_ITERATIONS; ++i) {
        const double f1 = f(a1);
        if (std::fabs(f1) < EPS) break;
        if (f1 == f0) {
            a1 += 0.1;
            continue;
        }
        double a2 = (f1 * a0 - f0 * a1) / (f1 - f0);
        if (std::fabs(a2 - a1) > FIVE_DEGREES) a2 = a1 + (a2 > a1 ? FIVE_DEGREES : -FIVE_DEGREES);
        a2 = std::clamp(a2, -PI, PI);
        a0 = a1;
        f0 = f1;
        a1 = a2;
    }
    // f is R cos(a - phi) - ced, so its roots lie symmetric about phi. A
    // negative root leans the facet across the dop axis, away from its own
    // index, and no facet angle can express it; its twin can.
    if (a1 < 0) {
        const double phi = std::atan2(horizontal, p.z);
        double twin = 2 * phi - a1;
        while (twin > PI) twin -= TWO_PI;
        while (twin <= -PI) twin += TWO_PI;
        if (twin >= 0) a1 = twin;
    }
    return a1 * DEG_PER_RAD;
}

PlaneSolution planeThrough2PointsAtIndex(const NewFacetInfo& info, const Stone& stone, Diagnostics& notes) {
    Vec3 p1 = info.points[0], p2 = info.points[1];
    double az = wrapTwoPi(azimuthOf(info.index, stone.gear, stone.indexOffset));
    // tan az blows up near a quarter turn: near the y axis, or with both
    // points on the y-z plane, work in a frame with x and y exchanged.
    if (std::fabs(az) < 0.3 || std::fabs(az - PI) < 0.3 ||
        (std::fabs(p1.x) < 0.01 && std::fabs(p2.x) < 0.01)) {
        az = wrapTwoPi(PI / 2 - az);
        std::swap(p1.x, p1.y);
        std::swap(p2.x, p2.y);
    }
    const double t = std::tan(az);
    if (std::fabs(p1.z - p2.z) < EPS) {
        notes.warning(DiagCode::SolverSameZ, "Can't make facet: same Z");
        return {};
    }
    if (std::fabs(p1.x) < EPS && std::fabs(p2.x) < EPS) {
        notes.warning(DiagCode::SolverXZero, "Can't make facet: X=0");
        return {};
    }
    const double D = (t * p2.x + p2.y) * p1.z - (t * p1.x + p1.y) * p2.z;
    const double ky = (p1.z - p2.z) / D;
    const Vec3 q = std::fabs(p2.z) >= std::fabs(p1.z) ? p2 : p1;
    const double kz = (1 - (t * q.x + q.y) * ky) / q.z;
    const Vec3 r = std::fabs(p2.x) >= std::fabs(p1.x) ? p2 : p1;
    const double kx = (1 - ky * r.y - kz * r.z) / r.x;
    const double s = kx * kx + ky * ky + kz * kz;
    // Every facet at this index leans toward the index's azimuth. A plane
    // through both points that leans the other way would need the centre
    // outside it: no facet at this index passes through them, and cutting
    // the plane of the angle found would miss both points.
    if (!(s >= EPS) || !std::isfinite(s) ||
        kx * std::sin(az) + ky * std::cos(az) < -EPS * std::sqrt(s)) {
        notes.warning(DiagCode::SolverThroughCentre, "Can't make facet: through center");
        return {};
    }
    PlaneSolution out;
    out.d = 1 / std::sqrt(s);
    out.angle = angleOfCosine(kz * out.d);
    out.index = info.index;
    return out;
}

PlaneSolution planeThrough2PointsAtAngle(const NewFacetInfo& info, const Stone& stone, Diagnostics& notes) {
    const double alpha = info.angle;
    if (std::fabs(std::fabs(alpha) - 90) < 1.0) {
        notes.warning(DiagCode::SolverAngle90, "Won't work with angle of 90");
        return {};
    }
    const Vec3 p1 = info.points[0], p2 = info.points[1];
    double t = (p1.z + p2.z) / 2 + 1.0;
    double tPrev = 0, betaPrev = 0;
    for (int i = 0; i < MAX_ITERATIONS; ++i) {
        const double D = t * (p1.x * p2.y - p2.x * p1.y);
        if (std::fabs(D) < EPS) {
            notes.warning(DiagCode::SolverCollinear, "Cannot make new facet because points are co-linear");
            return {};
        }
        double kx = (p2.y * t + p1.y * p2.z - p1.y * t - p2.y * p1.z) / D;
        double ky = (p1.x * t + p2.x * p1.z - p1.x * p2.z - p2.x * t) / D;
        double kz = (p1.x * p2.y - p2.x * p1.y) / D;
        if (kx * p1.x + ky * p1.y < 0) {
            kx = -kx;
            ky = -ky;
            kz = -kz;
        }
        const double m = std::sqrt(kx * kx + ky * ky + kz * kz);
        if (m < EPS) {
            notes.warning(DiagCode::SolverThroughCentre, "New facet cuts through center of stone");
            return {};
        }
        const double beta = angleOfCosine(kz / m);
        if (std::fabs(beta - alpha) < 1e-7) {
            PlaneSolution out;
            out.d = 1 / m;
            out.angle = alpha;
            out.index = indexOfDirection(kx, ky, stone);
            return out;
        }
        double step = i == 0 ? 0.1 : (alpha - beta) * (tPrev - t) / (betaPrev - beta);
        if (!(std::fabs(step) <= 0.1)) step = step < 0 ? -0.1 : 0.1;
        tPrev = t;
        betaPrev = beta;
        t += step;
    }
    notes.warning(DiagCode::SolverNoIndex, "Couldn't find index");
    return {};
}

PlaneSolution planeThrough3Points(Vec3 p1, Vec3 p2, Vec3 p3, const Stone& stone, Diagnostics& notes) {
    const double D = det3(p1, p2, p3);
    if (std::fabs(D) < EPS) {
        notes.warning(DiagCode::SolverCollinear, "Cannot make new facet because points are co-linear");
        return {};
    }
    const Vec3 ones{1, 1, 1};
    const double kx = det3({ones.x, p1.y, p1.z}, {ones.y, p2.y, p2.z}, {ones.z, p3.y, p3.z}) / D;
    const double ky = det3({p1.x, 1, p1.z}, {p2.x, 1, p2.z}, {p3.x, 1, p3.z}) / D;
    const double kz = det3({p1.x, p1.y, 1}, {p2.x, p2.y, 1}, {p3.x, p3.y, 1}) / D;
    const double m = std::sqrt(kx * kx + ky * ky + kz * kz);
    if (m < EPS) {
        notes.warning(DiagCode::SolverThroughCentre, "New cuts through center of stone");
        return {};
    }
    PlaneSolution out;
    out.d = 1 / m;
    out.angle = angleOfCosine(kz * out.d);
    out.index = indexOfDirection(kx, ky, stone);
    return out;
}

}  // namespace brevix
