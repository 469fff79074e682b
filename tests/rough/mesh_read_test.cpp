// Reading roughs: the three mesh forms told apart by content, their
// faults named, the shapes made closed and true to size, and the checks of
// prepareRough on meshes that are open, inside out or of an odd size.
#include <gtest/gtest.h>

#include <cstring>

#include "rough/pebble.h"
#include "rough_test_support.h"

namespace brevix::rough {
namespace {

// A binary STL of the mesh's triangles whose header starts with "solid",
// as many exporters write it.
std::string binaryStl(const Mesh& mesh) {
    std::string bytes = "solid exported by a scanner";
    bytes.resize(80, ' ');
    auto put32 = [&](uint32_t v) {
        for (int s = 0; s < 32; s += 8) bytes += static_cast<char>((v >> s) & 0xFF);
    };
    auto putFloat = [&](double v) {
        const float f = static_cast<float>(v);
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        put32(bits);
    };
    put32(static_cast<uint32_t>(mesh.triangles.size()));
    for (const auto& t : mesh.triangles) {
        for (int i = 0; i < 3; ++i) putFloat(0);
        for (uint32_t c : t) {
            putFloat(mesh.points[c].x);
            putFloat(mesh.points[c].y);
            putFloat(mesh.points[c].z);
        }
        bytes += std::string(2, '\0');
    }
    return bytes;
}

Mesh boxOf(const std::string& shapeText) { return *shapeMesh(shapeText).mesh; }

TEST(RoughMeshRead, BinaryStlStartingWithSolidIsReadAsBinaryAndWelded) {
    const MeshRead read = readMeshBytes(binaryStl(boxOf("box:10x8x6")), "scan.stl");
    ASSERT_TRUE(read.mesh) << read.error;
    EXPECT_EQ(read.mesh->triangles.size(), 12u);
    const RoughCheck check = prepareRough(*read.mesh);
    ASSERT_TRUE(check.rough) << check.error;
    EXPECT_NEAR(roughVolume(*check.rough), 480, 1e-9);
    EXPECT_EQ(roughMesh(*check.rough).points.size(), 8u);
    EXPECT_TRUE(check.warnings.empty());
}

TEST(RoughMeshRead, AsciiStlAndObjGiveTheSameSolid) {
    const Mesh box = boxOf("box:4x3x2");
    const MeshRead ascii = readMeshBytes(asciiStl(box, "box"), "box.stl");
    ASSERT_TRUE(ascii.mesh) << ascii.error;
    const MeshRead obj = readMeshBytes(objText(box), "box.obj");
    ASSERT_TRUE(obj.mesh) << obj.error;
    for (const MeshRead* read : {&ascii, &obj}) {
        const RoughCheck check = prepareRough(*read->mesh);
        ASSERT_TRUE(check.rough) << check.error;
        EXPECT_NEAR(roughVolume(*check.rough), 24, 1e-6);
    }
}

TEST(RoughMeshRead, ObjPolygonsNegativeIndicesAndSlashedCornersMakeATetrahedronAndACube) {
    // A unit cube as six quads: relative corners, texture and normal indices.
    const std::string cube =
        "# cube\no cube\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\nvn 0 0 1\nvt 0 0\n"
        "f 1/1/1 4/1/1 3/1/1 2/1/1\nf 5//1 6//1 7//1 8//1\nf -8 -7 -3 -4\nf 2 3 7 6\nf 3 4 8 7\nf 4/1 1/1 5/1 8/1\n";
    const MeshRead read = readMeshBytes(cube, "cube.OBJ");
    ASSERT_TRUE(read.mesh) << read.error;
    EXPECT_EQ(read.mesh->triangles.size(), 12u);
    const RoughCheck check = prepareRough(*read.mesh);
    ASSERT_TRUE(check.rough) << check.error;
    EXPECT_NEAR(roughVolume(*check.rough), 1, 1e-12);
}

TEST(RoughMeshRead, FaultsAreNamedWithTheirLine) {
    EXPECT_EQ(readMeshBytes("v 0 0 0\nv 1 0 0\nf 1 2 3\n", "a.obj").error,
              "a.obj line 3: face corner \"3\" names no vertex read so far");
    EXPECT_EQ(readMeshBytes("v 0 0\n", "b.obj").error, "b.obj line 1: a vertex needs three numbers");
    EXPECT_EQ(readMeshBytes("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 0 2\n", "c.obj").error.substr(0, 20), "c.obj line 4: face c");
    EXPECT_EQ(readMeshBytes("PK\x03\x04 not a mesh", "rough.stl").error, "Not an STL or OBJ mesh: rough.stl");
    // A binary STL whose count promises more triangles than it holds.
    std::string cut = binaryStl(boxOf("box:1x1x1"));
    cut.resize(cut.size() - 10);
    EXPECT_EQ(readMeshBytes(cut, "cut.stl").error.rfind("Not an STL or OBJ mesh: cut.stl (", 0), 0u);
    EXPECT_NE(readMeshBytes("solid x\n facet normal 0 0 1\n outer loop\n vertex 0 0 nan\n", "n.stl").error, "");
    EXPECT_EQ(readMeshFile("/nonexistent/rough.stl").error, "Cannot open /nonexistent/rough.stl to read");
    EXPECT_EQ(readMeshFile("/tmp").error, "Cannot open /tmp to read");
}

TEST(RoughShapes, AreClosedSolidsTrueToTheirSize) {
    struct Case {
        const char* shapeText;
        double volume;
    } cases[] = {{"box:10x8x6", 480},
                 {"cylinder:8x10", PI * 16 * 10},
                 {"ellipsoid:10x8x6", PI / 6 * 10 * 8 * 6}};
    for (const Case& c : cases) {
        const MeshRead read = shapeMesh(c.shapeText);
        ASSERT_TRUE(read.mesh) << c.shapeText;
        const RoughCheck check = prepareRough(*read.mesh);
        ASSERT_TRUE(check.rough) << c.shapeText << ": " << check.error;
        EXPECT_TRUE(check.warnings.empty()) << c.shapeText;
        EXPECT_NEAR(roughVolume(*check.rough) / c.volume, 1, 0.005) << c.shapeText;
    }
    for (const char* bad : {"box:10x8", "box:10x0x6", "cylinder:8x-1", "sphere:5", "box:1x2x3x4", "box:axbxc", "box"})
        EXPECT_EQ(shapeMesh(bad).error.rfind("Not a shape: \"", 0), 0u) << bad;
}

TEST(RoughPrepare, AnOpenMeshIsRefusedNamingTheEdge) {
    Mesh box = boxOf("box:2x2x2");
    box.triangles.erase(box.triangles.begin() + 1);  // the second half of the bottom
    const RoughCheck check = prepareRough(box);
    EXPECT_FALSE(check.rough);
    EXPECT_EQ(check.error, "The rough is not closed: the edge from (1, 1, -1) to (-1, -1, -1) mm borders only one triangle.");
}

TEST(RoughPrepare, AMeshInsideOutIsTurnedAndOneTriangleTurnedIsMended) {
    Mesh box = boxOf("box:2x2x2");
    for (auto& t : box.triangles) std::swap(t[1], t[2]);
    RoughCheck check = prepareRough(box);
    ASSERT_TRUE(check.rough) << check.error;
    EXPECT_NEAR(roughVolume(*check.rough), 8, 1e-12);
    ASSERT_EQ(check.warnings.size(), 1u);
    EXPECT_EQ(check.warnings[0], "The rough's triangles faced inward; they were turned.");

    box = boxOf("box:2x2x2");
    std::swap(box.triangles[5][1], box.triangles[5][2]);
    check = prepareRough(box);
    ASSERT_TRUE(check.rough) << check.error;
    EXPECT_NEAR(roughVolume(*check.rough), 8, 1e-12);
    ASSERT_EQ(check.warnings.size(), 1u);
    EXPECT_EQ(check.warnings[0], "1 of the rough's triangles faced the wrong way; they were turned.");
}

TEST(RoughPrepare, SizesThatAreNotMillimetresAreWarnedOf) {
    for (const char* shapeText : {"box:0.2x0.1x0.1", "box:800x10x10"}) {
        const RoughCheck check = prepareRough(boxOf(shapeText));
        ASSERT_TRUE(check.rough);
        ASSERT_EQ(check.warnings.size(), 1u) << shapeText;
        EXPECT_NE(check.warnings[0].find("does not look like millimetres"), std::string::npos);
    }
}

TEST(RoughPrepare, AnEdgeOfThreeTrianglesOrNoVolumeIsNoSolid) {
    Mesh box = boxOf("box:2x2x2");
    box.triangles.push_back(box.triangles[0]);
    box.triangles.push_back({box.triangles[0][0], box.triangles[0][2], box.triangles[0][1]});
    EXPECT_NE(prepareRough(box).error.find("borders more than two triangles"), std::string::npos);
    Mesh flat;
    flat.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    flat.triangles = {{0, 1, 2}, {0, 2, 1}, {1, 3, 2}, {1, 2, 3}};
    EXPECT_FALSE(prepareRough(flat).rough);
    EXPECT_FALSE(prepareRough(Mesh{}).rough);
}

TEST(RoughPebble, IsAClosedSolidOfAboutTheAskedSizeAndTheSameForASeed) {
    const Mesh a = pebbleMesh(7, 5000, 20), b = pebbleMesh(7, 5000, 20);
    EXPECT_NEAR(static_cast<double>(a.triangles.size()), 5000, 300);
    const RoughCheck check = prepareRough(a);
    ASSERT_TRUE(check.rough) << check.error;
    EXPECT_TRUE(check.warnings.empty());
    const auto bounds = roughBounds(*check.rough);
    EXPECT_NEAR(bounds[1].x - bounds[0].x, 20, 6);
    ASSERT_EQ(a.points.size(), b.points.size());
    for (size_t i = 0; i < a.points.size(); ++i) EXPECT_EQ(a.points[i].x, b.points[i].x);
}

}  // namespace
}  // namespace brevix::rough
