// libFuzzer target: the rough's mesh readers (binary and ASCII STL, OBJ)
// and the checks that make a mesh a rough, on any bytes.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "rough/rough_fit.h"

using namespace brevix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::installQuietSink();
    const std::string input(reinterpret_cast<const char*>(data), size);
    // Every third length is named .obj, which forces the OBJ reader; the
    // others are told apart by their contents.
    const rough::MeshRead read = rough::readMeshBytes(input, size % 3 == 0 ? "rough.obj" : "rough.stl");
    if (!read.mesh) {
        if (read.error.empty()) std::abort();
        return 0;
    }
    for (const auto& t : read.mesh->triangles)
        for (uint32_t corner : t)
            if (corner >= read.mesh->points.size()) std::abort();
    const rough::RoughCheck check = rough::prepareRough(*read.mesh);
    if (!check.rough) {
        if (check.error.empty()) std::abort();
        return 0;
    }
    if (!(rough::roughVolume(*check.rough) > 0) || !std::isfinite(rough::roughVolume(*check.rough))) std::abort();
    const rough::Mesh& mesh = rough::roughMesh(*check.rough);
    for (const auto& t : mesh.triangles)
        for (uint32_t corner : t)
            if (corner >= mesh.points.size()) std::abort();
    return 0;
}
