#pragma once
// Fitting a design into a rough: the orientation, position and size that
// give the largest stone lying wholly inside the rough (less a margin) and
// outside every inclusion to avoid. The rough is a closed triangle mesh in
// millimetres (a scan, convex or not) or a simple shape made into one.
//
// Pure functions over plain data: the same inputs and seed give the same
// placement on any number of threads.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kernel/geometry.h"
#include "kernel/stone.h"

namespace brevix::rough {

// A triangle mesh; corners index `points`, counter-clockwise seen from
// outside once the rough is prepared.
struct Mesh {
    std::vector<Vec3> points;
    std::vector<std::array<uint32_t, 3>> triangles;
};

// What reading a mesh or a shape gave: the mesh, or an error to show as it
// stands.
struct MeshRead {
    std::optional<Mesh> mesh;
    std::string error;
};

// An STL (ASCII or binary) or OBJ file, told apart by its contents and
// extension. Bounded in memory by the file's own size.
MeshRead readMeshFile(const std::string& path);
// The same from bytes already read; `name` only picks OBJ for ".obj".
MeshRead readMeshBytes(const std::string& bytes, const std::string& name);
// "box:LxWxH", "cylinder:DxH" or "ellipsoid:AxBxC", in millimetres.
MeshRead shapeMesh(const std::string& shapeText);

// A rough made ready to fit into: checked closed and solid, turned outward,
// with its volume and a search structure for inside tests and distances.
class Rough;

struct RoughCheck {
    std::shared_ptr<const Rough> rough;  // null when refused
    std::string error;                   // why it was refused
    std::vector<std::string> warnings;   // e.g. turned inside out, odd size
};
RoughCheck prepareRough(Mesh mesh);

double roughVolume(const Rough& rough);
const Mesh& roughMesh(const Rough& rough);
// The corners of the box around the rough, in millimetres.
std::array<Vec3, 2> roughBounds(const Rough& rough);

// A sphere to keep the stone out of (an inclusion, a crack), in the rough's
// coordinates.
struct Avoid {
    Vec3 centre;
    double radius = 0;
};

struct FitOptions {
    double marginMm = 0;
    std::vector<Avoid> avoid;
    uint64_t seed = 1;
    int threads = 0;  // 0: as many as the machine has
    // Set from another thread to stop early; the best placement found so
    // far is then returned as it stands.
    const std::atomic<bool>* cancel = nullptr;
};

// Where the design goes: a rough point = rotation * (scale * design point)
// + translation. `rotation` is row-major and proper (determinant +1).
struct Placement {
    std::array<std::array<double, 3>, 3> rotation{};
    Vec3 translation;
    double millimetresPerUnit = 0;
};

struct FitResult {
    bool fits = false;
    std::string message;  // why no stone fits, when none does
    Placement placement;
    double widthMm = 0, lengthMm = 0, depthMm = 0;
    double volumeMm3 = 0;
    double yieldPercent = 0;  // stone volume / rough volume
};

FitResult fitStone(const Stone& stone, const Rough& rough, const FitOptions& options);

// The placed stone as a closed mesh in the rough's coordinates, to overlay
// on the scan; and the ASCII STL or OBJ text of a mesh.
Mesh placedStoneMesh(const Stone& stone, const Placement& placement);
std::string asciiStl(const Mesh& mesh, const std::string& solidName);
std::string objText(const Mesh& mesh);

}  // namespace brevix::rough
