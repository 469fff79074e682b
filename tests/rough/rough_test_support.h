#pragma once
// Geometry the rough tests check the fit against, written apart from the
// fitting code: a point-in-mesh test by counting ray crossings, the planes
// of a convex mesh, a sample design and turned copies of meshes.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "document/design_io.h"
#include "rough/rough_fit.h"

namespace brevix::rough::testing {

inline std::unique_ptr<Stone> sampleDesign(const std::string& name) {
    DesignRead read = readDesignFile(std::string(BREVIX_SOURCE_DIR) + "/samples/" + name, FileType::Asc, 8, 1);
    return std::move(read.stone);
}

// Crossings of the ray from p along a direction no test mesh lines up
// with; odd means inside.
inline bool insideByRays(const Mesh& mesh, Vec3 p) {
    const Vec3 d{0.5283, 0.6158, 0.5846};
    int crossings = 0;
    for (const auto& t : mesh.triangles) {
        const Vec3 a = mesh.points[t[0]], b = mesh.points[t[1]], c = mesh.points[t[2]];
        const Vec3 e1 = b - a, e2 = c - a, h = cross(d, e2);
        const double det = dot(e1, h);
        if (std::abs(det) < 1e-15) continue;
        const Vec3 s = p - a;
        const double u = dot(s, h) / det;
        if (u < 0 || u > 1) continue;
        const Vec3 q = cross(s, e1);
        const double v = dot(d, q) / det;
        if (v < 0 || u + v > 1) continue;
        if (dot(e2, q) / det > 0) ++crossings;
    }
    return crossings % 2 == 1;
}

struct PlaneOf {
    Vec3 normal;
    double offset;
};
// The outward planes of a closed convex mesh's triangles.
inline std::vector<PlaneOf> planesOf(const Mesh& mesh) {
    std::vector<PlaneOf> planes;
    for (const auto& t : mesh.triangles) {
        const Vec3 a = mesh.points[t[0]];
        Vec3 n = cross(mesh.points[t[1]] - a, mesh.points[t[2]] - a);
        const double l = length(n);
        if (l < 1e-12) continue;
        n = n * (1 / l);
        planes.push_back({n, dot(n, a)});
    }
    return planes;
}
// How far p lies outside the convex mesh by its farthest plane (never more
// than its true distance); negative inside.
inline double outsideBy(const std::vector<PlaneOf>& planes, Vec3 p) {
    double most = -1e300;
    for (const PlaneOf& plane : planes) most = std::max(most, dot(plane.normal, p) - plane.offset);
    return most;
}

inline Vec3 centreOf(const Mesh& mesh) {
    Vec3 sum;
    for (const Vec3& p : mesh.points) sum = sum + p;
    return sum * (1.0 / static_cast<double>(mesh.points.size()));
}

// Every corner of the placed stone, drawn a hair towards the stone's
// middle (a corner touching a wall is inside), lies inside the rough.
inline void expectCornersInside(const Mesh& stone, const Mesh& rough) {
    const Vec3 middle = centreOf(stone);
    for (const Vec3& p : stone.points) {
        const Vec3 q = middle + (p - middle) * (1 - 1e-7);
        EXPECT_TRUE(insideByRays(rough, q)) << p.x << ", " << p.y << ", " << p.z;
    }
}

// The mesh turned a degrees about z, then b degrees about x.
inline Mesh turned(Mesh mesh, double aDegrees, double bDegrees) {
    const double a = aDegrees * PI / 180, b = bDegrees * PI / 180;
    for (Vec3& p : mesh.points) {
        const Vec3 z{p.x * std::cos(a) - p.y * std::sin(a), p.x * std::sin(a) + p.y * std::cos(a), p.z};
        p = {z.x, z.y * std::cos(b) - z.z * std::sin(b), z.y * std::sin(b) + z.z * std::cos(b)};
    }
    return mesh;
}

}  // namespace brevix::rough::testing
