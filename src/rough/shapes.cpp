// Simple roughs typed as a shape: a sawn block, a crystal section, a
// pebble. The curved ones are fine enough polyhedra that the largest stone
// inside them differs from the true shape's by well under half a percent:
// the polygon's flats lie within cos(pi/n) of the curve.
#include <charconv>
#include <cmath>
#include <string_view>

#include "rough/rough_fit.h"
#include "rough/sphere_grid.h"

namespace brevix::rough {

namespace {

constexpr int CYLINDER_SIDES = 128;   // flats within 0.03% of the circle
constexpr int ELLIPSOID_SLICES = 96;  // around; within 0.06%
constexpr int ELLIPSOID_STACKS = 48;  // pole to pole
constexpr double LARGEST_SHAPE_MM = 10000;

MeshRead shapeError(const std::string& shapeText) {
    MeshRead read;
    read.error = "Not a shape: \"" + shapeText +
                 "\" (box:LxWxH, cylinder:DxH or ellipsoid:AxBxC, in millimetres)";
    return read;
}

// "10x8x6" with exactly `count` positive sizes.
std::optional<std::vector<double>> shapeSizes(std::string_view text, size_t count) {
    std::vector<double> sizes;
    while (true) {
        const size_t cut = text.find_first_of("xX");
        const std::string_view word = text.substr(0, cut);
        double value = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (word.empty() || ec != std::errc() || end != word.data() + word.size() || !(value > 0) ||
            value > LARGEST_SHAPE_MM)
            return std::nullopt;
        sizes.push_back(value);
        if (cut == std::string_view::npos) break;
        text.remove_prefix(cut + 1);
    }
    if (sizes.size() != count) return std::nullopt;
    return sizes;
}

uint32_t addPoint(Mesh& mesh, Vec3 p) {
    mesh.points.push_back(p);
    return static_cast<uint32_t>(mesh.points.size() - 1);
}

Mesh boxMesh(double l, double w, double h) {
    Mesh mesh;
    for (int i = 0; i < 8; ++i)
        addPoint(mesh, {(i & 1 ? 0.5 : -0.5) * l, (i & 2 ? 0.5 : -0.5) * w, (i & 4 ? 0.5 : -0.5) * h});
    // Each face as two triangles, counter-clockwise from outside.
    const uint32_t quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                  {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& q : quads) {
        mesh.triangles.push_back({q[0], q[1], q[2]});
        mesh.triangles.push_back({q[0], q[2], q[3]});
    }
    return mesh;
}

Mesh cylinderMesh(double diameter, double height) {
    Mesh mesh;
    const double r = diameter / 2;
    const uint32_t bottom = addPoint(mesh, {0, 0, -height / 2});
    const uint32_t top = addPoint(mesh, {0, 0, height / 2});
    for (int i = 0; i < CYLINDER_SIDES; ++i) {
        const double a = TWO_PI * i / CYLINDER_SIDES;
        addPoint(mesh, {r * std::cos(a), r * std::sin(a), -height / 2});
        addPoint(mesh, {r * std::cos(a), r * std::sin(a), height / 2});
    }
    for (uint32_t i = 0; i < CYLINDER_SIDES; ++i) {
        const uint32_t j = (i + 1) % CYLINDER_SIDES;
        const uint32_t b0 = 2 + 2 * i, t0 = b0 + 1, b1 = 2 + 2 * j, t1 = b1 + 1;
        mesh.triangles.push_back({bottom, b1, b0});
        mesh.triangles.push_back({top, t0, t1});
        mesh.triangles.push_back({b0, b1, t1});
        mesh.triangles.push_back({b0, t1, t0});
    }
    return mesh;
}

Mesh ellipsoidMesh(double a, double b, double c) {
    return sphereGridMesh(ELLIPSOID_STACKS, ELLIPSOID_SLICES,
                          [&](Vec3 d) { return Vec3{a / 2 * d.x, b / 2 * d.y, c / 2 * d.z}; });
}

}  // namespace

MeshRead shapeMesh(const std::string& shapeText) {
    const size_t colon = shapeText.find(':');
    if (colon == std::string::npos) return shapeError(shapeText);
    const std::string kind = shapeText.substr(0, colon);
    const std::string_view sizes = std::string_view(shapeText).substr(colon + 1);
    MeshRead read;
    if (kind == "box") {
        if (const auto s = shapeSizes(sizes, 3)) read.mesh = boxMesh((*s)[0], (*s)[1], (*s)[2]);
    } else if (kind == "cylinder") {
        if (const auto s = shapeSizes(sizes, 2)) read.mesh = cylinderMesh((*s)[0], (*s)[1]);
    } else if (kind == "ellipsoid") {
        if (const auto s = shapeSizes(sizes, 3)) read.mesh = ellipsoidMesh((*s)[0], (*s)[1], (*s)[2]);
    }
    if (!read.mesh) return shapeError(shapeText);
    return read;
}

}  // namespace brevix::rough
