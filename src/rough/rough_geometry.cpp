// The rough as CGAL sees it: a surface mesh, the AABB tree over its
// triangles, and the inside test that shares the tree. Exact predicates
// with floating-point constructions: the inside test and the ray's choice
// of triangle are then never fooled by rounding, and the distances are as
// precise as a double.
#include "rough/rough_geometry.h"

#include <CGAL/AABB_face_graph_triangle_primitive.h>
#include <CGAL/AABB_traits.h>
#include <CGAL/AABB_tree.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Side_of_triangle_mesh.h>
#include <CGAL/Surface_mesh.h>

namespace brevix::rough {

namespace {
using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using CgalPoint = Kernel::Point_3;
using SurfaceMesh = CGAL::Surface_mesh<CgalPoint>;
using Primitive = CGAL::AABB_face_graph_triangle_primitive<SurfaceMesh>;
using Tree = CGAL::AABB_tree<CGAL::AABB_traits<Kernel, Primitive>>;
using SideOf = CGAL::Side_of_triangle_mesh<SurfaceMesh, Kernel>;

CgalPoint cgalPoint(Vec3 p) { return {p.x, p.y, p.z}; }
}  // namespace

struct RoughGeometry::Impl {
    const Mesh& mesh;
    SurfaceMesh surface;
    std::unique_ptr<Tree> tree;
    std::unique_ptr<SideOf> side;

    explicit Impl(const Mesh& m) : mesh(m) {
        surface.reserve(static_cast<SurfaceMesh::size_type>(m.points.size()),
                        static_cast<SurfaceMesh::size_type>(m.triangles.size() * 3 / 2),
                        static_cast<SurfaceMesh::size_type>(m.triangles.size()));
        for (const Vec3& p : m.points) surface.add_vertex(cgalPoint(p));
        // Faces are added in the mesh's order, so a face's index is its
        // triangle's. The surface refuses a face where two sheets would meet
        // in one point; the rough is then refused (see complete()).
        for (const auto& t : m.triangles)
            surface.add_face(SurfaceMesh::Vertex_index(t[0]), SurfaceMesh::Vertex_index(t[1]),
                             SurfaceMesh::Vertex_index(t[2]));
        if (surface.number_of_faces() != m.triangles.size()) return;
        tree = std::make_unique<Tree>(faces(surface).first, faces(surface).second, surface);
        tree->build();
        tree->accelerate_distance_queries();
        // Both structures are built now, not by the first of several
        // threads to ask.
        tree->squared_distance(cgalPoint(m.points.front()));
        side = std::make_unique<SideOf>(*tree);
    }
};

RoughGeometry::RoughGeometry(const Mesh& mesh) : impl_(std::make_unique<Impl>(mesh)) {}
RoughGeometry::~RoughGeometry() = default;

bool RoughGeometry::complete() const { return impl_->surface.number_of_faces() == impl_->mesh.triangles.size(); }

bool RoughGeometry::inside(Vec3 point) const {
    return (*impl_->side)(cgalPoint(point)) == CGAL::ON_BOUNDED_SIDE;
}

bool RoughGeometry::within(Vec3 point) const {
    return (*impl_->side)(cgalPoint(point)) != CGAL::ON_UNBOUNDED_SIDE;
}

double RoughGeometry::squaredDistance(Vec3 point) const {
    return CGAL::to_double(impl_->tree->squared_distance(cgalPoint(point)));
}

}  // namespace brevix::rough
