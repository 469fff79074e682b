#include "rough/sphere_grid.h"

#include <cmath>

namespace brevix::rough {

Mesh sphereGridMesh(int stacks, int slices, const std::function<Vec3(Vec3)>& place) {
    Mesh mesh;
    mesh.points.push_back(place({0, 0, -1}));
    for (int s = 1; s < stacks; ++s) {
        const double polar = PI * s / stacks;
        for (int i = 0; i < slices; ++i) {
            const double around = TWO_PI * i / slices;
            mesh.points.push_back(
                place({std::sin(polar) * std::cos(around), std::sin(polar) * std::sin(around), -std::cos(polar)}));
        }
    }
    mesh.points.push_back(place({0, 0, 1}));
    const uint32_t south = 0, north = static_cast<uint32_t>(mesh.points.size() - 1);
    auto ring = [&](int s, int i) { return static_cast<uint32_t>(1 + (s - 1) * slices + i % slices); };
    for (int i = 0; i < slices; ++i) {
        mesh.triangles.push_back({south, ring(1, i + 1), ring(1, i)});
        mesh.triangles.push_back({north, ring(stacks - 1, i), ring(stacks - 1, i + 1)});
        for (int s = 1; s + 1 < stacks; ++s) {
            mesh.triangles.push_back({ring(s, i), ring(s, i + 1), ring(s + 1, i + 1)});
            mesh.triangles.push_back({ring(s, i), ring(s + 1, i + 1), ring(s + 1, i)});
        }
    }
    return mesh;
}

}  // namespace brevix::rough
