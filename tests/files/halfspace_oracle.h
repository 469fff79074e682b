#pragma once
// An independent computation of the solid a list of planes cuts from the
// rough cube: each plane's face found by clipping a large square in it by
// every other plane, the corners of those faces, and the volume they
// enclose. Brute force, with none of the kernel's code, for comparing small
// designs with it.
#include <algorithm>
#include <cmath>
#include <vector>

#include "kernel/stone.h"

namespace brevix::testing {

struct OraclePlane {
    long double a, b, c, d;
    long double at(long double x, long double y, long double z) const {
        return a * x + b * y + c * z - d;
    }
};

struct OraclePoint {
    long double x, y, z;
};

class HalfSpaceOracle {
public:
    explicit HalfSpaceOracle(std::vector<OraclePlane> designPlanes, long double half = 1.02L) {
        const long double cube[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
        for (auto& n : cube) planes_.push_back({n[0], n[1], n[2], half});
        for (const OraclePlane& p : designPlanes) planes_.push_back(p);
        clipFaces();
    }

    const std::vector<OraclePlane>& planes() const { return planes_; }
    // The corners of every face.
    const std::vector<OraclePoint>& corners() const { return corners_; }

    // Largest amount by which a point lies outside any of the planes.
    long double outsideBy(long double x, long double y, long double z) const {
        long double worst = -1e9L;
        for (const OraclePlane& p : planes_) worst = std::max(worst, p.at(x, y, z));
        return worst;
    }

    // Sum over the faces of distance x area / 3.
    long double volume() const { return volume_; }

private:
    // Each plane's face: a large square in the plane, clipped by every other
    // plane in turn. A plane equal to an earlier one has no face of its own.
    void clipFaces() {
        for (size_t i = 0; i < planes_.size(); ++i) {
            const OraclePlane& p = planes_[i];
            bool repeated = false;
            for (size_t j = 0; j < i; ++j) {
                const OraclePlane& q = planes_[j];
                repeated = repeated || (q.a == p.a && q.b == p.b && q.c == p.c && q.d == p.d);
            }
            if (repeated) continue;
            std::vector<OraclePoint> face = bigSquare(p);
            for (size_t j = 0; j < planes_.size() && !face.empty(); ++j)
                if (j != i) face = clip(face, planes_[j]);
            if (face.size() < 3) continue;
            volume_ += p.d * area(p, face) / 3;
            corners_.insert(corners_.end(), face.begin(), face.end());
        }
    }

    static std::vector<OraclePoint> bigSquare(const OraclePlane& p) {
        long double ux, uy, uz;
        if (std::fabs(p.a) < 0.9L)
            ux = 0, uy = p.c, uz = -p.b;
        else
            ux = -p.c, uy = 0, uz = p.a;
        const long double ul = std::sqrt(ux * ux + uy * uy + uz * uz);
        ux /= ul, uy /= ul, uz /= ul;
        const long double vx = p.b * uz - p.c * uy, vy = p.c * ux - p.a * uz, vz = p.a * uy - p.b * ux;
        const long double cx = p.a * p.d, cy = p.b * p.d, cz = p.c * p.d, r = 10;
        std::vector<OraclePoint> square;
        const int signs[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
        for (auto& s : signs)
            square.push_back({cx + r * (s[0] * ux + s[1] * vx), cy + r * (s[0] * uy + s[1] * vy),
                              cz + r * (s[0] * uz + s[1] * vz)});
        return square;
    }

    // The part of a convex polygon inside the plane.
    static std::vector<OraclePoint> clip(const std::vector<OraclePoint>& polygon, const OraclePlane& p) {
        std::vector<OraclePoint> kept;
        for (size_t k = 0; k < polygon.size(); ++k) {
            const OraclePoint& s = polygon[k];
            const OraclePoint& e = polygon[(k + 1) % polygon.size()];
            const long double ds = p.at(s.x, s.y, s.z), de = p.at(e.x, e.y, e.z);
            if (ds <= 0) kept.push_back(s);
            if ((ds < 0 && de > 0) || (ds > 0 && de < 0)) {
                const long double t = ds / (ds - de);
                kept.push_back({s.x + t * (e.x - s.x), s.y + t * (e.y - s.y), s.z + t * (e.z - s.z)});
            }
        }
        return kept;
    }

    static long double area(const OraclePlane& p, const std::vector<OraclePoint>& face) {
        long double sx = 0, sy = 0, sz = 0;
        for (size_t k = 0; k < face.size(); ++k) {
            const OraclePoint& s = face[k];
            const OraclePoint& e = face[(k + 1) % face.size()];
            sx += s.y * e.z - s.z * e.y;
            sy += s.z * e.x - s.x * e.z;
            sz += s.x * e.y - s.y * e.x;
        }
        return std::fabs(sx * p.a + sy * p.b + sz * p.c) / 2;
    }

    std::vector<OraclePlane> planes_;
    std::vector<OraclePoint> corners_;
    long double volume_ = 0;
};

}  // namespace brevix::testing
