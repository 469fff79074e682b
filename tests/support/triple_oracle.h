#pragma once
// The solid a list of planes cuts from the rough cube, by brute force and
// none of the kernel's code: every triple of planes that meets in one point
// gives a candidate corner, kept when it lies inside every plane; each
// plane's face is the corners on it, ordered round their centre. In long
// double, for small designs only (the cost grows with the cube of the planes).
#include <algorithm>
#include <cmath>
#include <vector>

namespace brevix::testing {

struct TriplePlane {
    long double a, b, c, d;
    long double at(long double x, long double y, long double z) const { return a * x + b * y + c * z - d; }
};

struct TriplePoint {
    long double x, y, z;
};

class TripleOracle {
public:
    TripleOracle(const std::vector<TriplePlane>& design, long double half) {
        const long double cube[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
        for (auto& n : cube) planes_.push_back({n[0], n[1], n[2], half});
        planes_.insert(planes_.end(), design.begin(), design.end());
        findCorners();
        findFaces();
    }

    const std::vector<TriplePoint>& corners() const { return corners_; }
    long double volume() const { return volume_; }
    // Area of the face of plane i (the cube's six first, then the design's).
    long double faceArea(size_t i) const { return areas_[i]; }
    const std::vector<TriplePlane>& planes() const { return planes_; }

    long double outsideBy(long double x, long double y, long double z) const {
        long double worst = -1e9L;
        for (const TriplePlane& p : planes_) worst = std::max(worst, p.at(x, y, z));
        return worst;
    }

private:
    static constexpr long double INSIDE = 1e-12L;

    void findCorners() {
        const size_t n = planes_.size();
        for (size_t i = 0; i < n; ++i)
            for (size_t j = i + 1; j < n; ++j)
                for (size_t k = j + 1; k < n; ++k) {
                    const TriplePlane &p = planes_[i], &q = planes_[j], &r = planes_[k];
                    const long double det = p.a * (q.b * r.c - q.c * r.b) - p.b * (q.a * r.c - q.c * r.a) +
                                            p.c * (q.a * r.b - q.b * r.a);
                    if (std::fabs(det) < 1e-12L) continue;
                    const long double x = (p.d * (q.b * r.c - q.c * r.b) - p.b * (q.d * r.c - q.c * r.d) +
                                           p.c * (q.d * r.b - q.b * r.d)) / det;
                    const long double y = (p.a * (q.d * r.c - q.c * r.d) - p.d * (q.a * r.c - q.c * r.a) +
                                           p.c * (q.a * r.d - q.d * r.a)) / det;
                    const long double z = (p.a * (q.b * r.d - q.d * r.b) - p.b * (q.a * r.d - q.d * r.a) +
                                           p.d * (q.a * r.b - q.b * r.a)) / det;
                    if (outsideBy(x, y, z) <= INSIDE) corners_.push_back({x, y, z});
                }
    }

    // Each face: the corners on its plane, ordered by angle round their
    // mean in the plane, and its area; the volume is the sum of d x area / 3.
    void findFaces() {
        areas_.assign(planes_.size(), 0);
        for (size_t i = 0; i < planes_.size(); ++i) {
            const TriplePlane& p = planes_[i];
            std::vector<TriplePoint> on;
            for (const TriplePoint& q : corners_)
                if (std::fabs(p.at(q.x, q.y, q.z)) <= 1e-11L) on.push_back(q);
            if (on.size() < 3) continue;
            TriplePoint mid{0, 0, 0};
            for (const TriplePoint& q : on) mid = {mid.x + q.x, mid.y + q.y, mid.z + q.z};
            mid = {mid.x / on.size(), mid.y / on.size(), mid.z / on.size()};
            long double ux, uy, uz;
            if (std::fabs(p.a) < 0.9L)
                ux = 0, uy = p.c, uz = -p.b;
            else
                ux = -p.c, uy = 0, uz = p.a;
            const long double ul = std::sqrt(ux * ux + uy * uy + uz * uz);
            ux /= ul, uy /= ul, uz /= ul;
            const long double vx = p.b * uz - p.c * uy, vy = p.c * ux - p.a * uz, vz = p.a * uy - p.b * ux;
            auto angleOf = [&](const TriplePoint& q) {
                const long double dx = q.x - mid.x, dy = q.y - mid.y, dz = q.z - mid.z;
                return std::atan2(dx * vx + dy * vy + dz * vz, dx * ux + dy * uy + dz * uz);
            };
            std::sort(on.begin(), on.end(),
                      [&](const TriplePoint& s, const TriplePoint& t) { return angleOf(s) < angleOf(t); });
            long double sx = 0, sy = 0, sz = 0;
            for (size_t k = 0; k < on.size(); ++k) {
                const TriplePoint& s = on[k];
                const TriplePoint& e = on[(k + 1) % on.size()];
                sx += s.y * e.z - s.z * e.y;
                sy += s.z * e.x - s.x * e.z;
                sz += s.x * e.y - s.y * e.x;
            }
            areas_[i] = std::fabs(sx * p.a + sy * p.b + sz * p.c) / 2;
            volume_ += p.d * areas_[i] / 3;
        }
    }

    std::vector<TriplePlane> planes_;
    std::vector<TriplePoint> corners_;
    std::vector<long double> areas_;
    long double volume_ = 0;
};

}  // namespace brevix::testing
