// The STL and OBJ meshes: closed, outward, at the asked size, and the OBJ
// reads back into the polyhedron it came from.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>
#include <sstream>

#include "design/measures.h"
#include "design/real_size.h"
#include "design/sample_designs.h"
#include "design/tiers.h"
#include "file_test_support.h"
#include "files/exports.h"
#include "files/facet_ring.h"

using namespace brevix;
using namespace brevix::testing;

namespace {

const char* const kMeshSamples[] = {"round_brilliant", "oval_brilliant", "emerald_cut", "square_step_cut"};

Stone sample(const char* name) { return fromAsc(readFileBytes(samplesDir() / (std::string(name) + ".asc"))); }

// ---- a binary STL, read as a checker would -------------------------------

using FloatPoint = std::array<float, 3>;

struct StlTriangle {
    FloatPoint normal;
    std::array<FloatPoint, 3> corners;
};

struct Stl {
    std::string header;
    std::vector<StlTriangle> triangles;
};

uint32_t uint32At(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
    return v;
}

FloatPoint pointAt(const std::string& bytes, size_t at) {
    return {std::bit_cast<float>(uint32At(bytes, at)), std::bit_cast<float>(uint32At(bytes, at + 4)),
            std::bit_cast<float>(uint32At(bytes, at + 8))};
}

Stl parseStl(const std::string& bytes) {
    Stl stl;
    EXPECT_GE(bytes.size(), 84u);
    if (bytes.size() < 84) return stl;
    stl.header = bytes.substr(0, 80);
    const uint32_t count = uint32At(bytes, 80);
    EXPECT_EQ(bytes.size(), 84 + 50 * size_t(count)) << "the count must match the file's length";
    for (size_t t = 0; t < count && 84 + 50 * (t + 1) <= bytes.size(); ++t) {
        const size_t at = 84 + 50 * t;
        StlTriangle tri;
        tri.normal = pointAt(bytes, at);
        for (int k = 0; k < 3; ++k) tri.corners[k] = pointAt(bytes, at + 12 + 12 * k);
        EXPECT_EQ(bytes[at + 48], 0);
        EXPECT_EQ(bytes[at + 49], 0);
        stl.triangles.push_back(tri);
    }
    return stl;
}

Vec3 vec(const FloatPoint& p) { return {p[0], p[1], p[2]}; }

// Every edge, welded by its exact float corners as mesh tools weld them,
// must be walked once in each direction; the signed volume of the closed
// mesh is the solid's.
void expectClosedOutwardMesh(const Stl& stl, double volume, const std::string& what) {
    std::map<std::pair<FloatPoint, FloatPoint>, int> directed;
    double signedVolume = 0;
    for (const StlTriangle& t : stl.triangles) {
        for (int k = 0; k < 3; ++k) {
            ASSERT_NE(t.corners[k], t.corners[(k + 1) % 3]) << what << ": a triangle with a repeated corner";
            ++directed[{t.corners[k], t.corners[(k + 1) % 3]}];
        }
        const Vec3 a = vec(t.corners[0]), b = vec(t.corners[1]), c = vec(t.corners[2]);
        signedVolume += dot(a, cross(b, c)) / 6;
        // The stored normal is the way the corners turn, as checkers recompute it.
        const Vec3 turn = cross(b - a, c - a);
        ASSERT_GT(length(turn), 0) << what;
        EXPECT_GT(dot(turn * (1 / length(turn)), vec(t.normal)), 0.999) << what << ": normal against the winding";
    }
    for (const auto& [edge, count] : directed) {
        EXPECT_EQ(count, 1) << what << ": an edge walked twice the same way";
        const auto back = directed.find({edge.second, edge.first});
        EXPECT_TRUE(back != directed.end() && back->second == 1) << what << ": an edge without its twin";
    }
    EXPECT_NEAR(signedVolume, volume, volume * 1e-5) << what;
}

// ---- an OBJ, read as a CAD program would -------------------------------

struct Obj {
    std::vector<std::string> comments;
    std::vector<Vec3> vertices;
    struct Face {
        std::string group;
        std::vector<int> corners;  // from 0
    };
    std::vector<Face> faces;
};

Obj parseObj(const std::string& text) {
    Obj obj;
    std::istringstream in(text);
    std::string group;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind.empty()) continue;
        if (kind[0] == '#') {
            obj.comments.push_back(line);
        } else if (kind == "v") {
            Vec3 v;
            words >> v.x >> v.y >> v.z;
            EXPECT_FALSE(words.fail()) << line;
            obj.vertices.push_back(v);
        } else if (kind == "g") {
            words >> group;
            std::string more;
            EXPECT_FALSE(words >> more) << "one group name to a line: " << line;
        } else if (kind == "f") {
            Obj::Face face{group, {}};
            for (int index; words >> index;) {
                EXPECT_GE(index, 1) << line;
                EXPECT_LE(index, static_cast<int>(obj.vertices.size())) << line;
                face.corners.push_back(index - 1);
            }
            EXPECT_TRUE(words.eof()) << line;
            obj.faces.push_back(face);
        } else {
            ADD_FAILURE() << "unexpected line: " << line;
        }
    }
    return obj;
}

// Twice the polygon's area along the way its corners turn.
Vec3 newellNormal(const Obj& obj, const Obj::Face& face) {
    Vec3 n;
    for (size_t k = 0; k < face.corners.size(); ++k)
        n = n + cross(obj.vertices[face.corners[k]], obj.vertices[face.corners[(k + 1) % face.corners.size()]]);
    return n;
}

}  // namespace

TEST(Stl, EverySampleIsAClosedOutwardMeshOfTheStonesVolume) {
    for (const char* name : kMeshSamples) {
        Stone stone = sample(name);
        const double volume = computeVolume(stone);
        expectClosedOutwardMesh(parseStl(stlBytes(stone)), volume, std::string(name) + " in design units");
        const auto size = realSizeOf(stone, SizeBasis::Width, 6.5);
        ASSERT_TRUE(size);
        const Stl mm = parseStl(stlBytes(stone, size->millimetresPerUnit));
        expectClosedOutwardMesh(mm, size->volume, std::string(name) + " at 6.5 mm");
    }
}

TEST(Stl, HeaderCountAndFanOfTheRoughCube) {
    Stone cube;
    cube.heading = {"Cube", "", "", ""};
    const std::string bytes = stlBytes(cube, 10 / 2.04);
    const Stl stl = parseStl(bytes);
    // Readers take a header beginning with "solid" for a text STL.
    EXPECT_EQ(stl.header.rfind("Brevix gemstone mesh, mm: Cube", 0), 0u);
    EXPECT_EQ(stl.header.find("solid"), std::string::npos);
    ASSERT_EQ(stl.triangles.size(), 12u);
    for (const StlTriangle& t : stl.triangles)
        for (const FloatPoint& p : t.corners)
            for (float c : p) EXPECT_NEAR(std::fabs(c), 5, 1e-5);
    expectClosedOutwardMesh(stl, 1000, "cube");
    EXPECT_EQ(parseStl(stlBytes(Stone())).header.rfind("Brevix gemstone mesh, design units", 0), 0u);
}

TEST(Obj, SamplesReadBackIntoTheSamePolyhedron) {
    for (const char* name : kMeshSamples) {
        SCOPED_TRACE(name);
        Stone stone = sample(name);
        const double k = 6.5 / [&] { computeBounds(stone); return stone.stats.W; }();
        const Obj obj = parseObj(objText(stone, k));
        ASSERT_EQ(obj.vertices.size(), size_t(stone.nVertex));
        for (int32_t i = 0; i < stone.nVertex; ++i)
            EXPECT_LT(length(obj.vertices[i] - stone.vertices[i].pos() * k), 1e-8);
        ASSERT_EQ(obj.faces.size(), size_t(stone.nFacet));

        // Every polygon is the ring of corners of one facet of the stone, in
        // its plane and turning about its outward normal; each facet has
        // exactly one polygon; together they enclose the stone's volume.
        std::vector<int> polygonsOf(stone.nFacet, 0);
        double volume = 0;
        for (const Obj::Face& face : obj.faces) {
            ASSERT_GE(face.corners.size(), 3u);
            Vec3 n = newellNormal(obj, face);
            n = n * (1 / length(n));
            int32_t f = -1;
            for (int32_t g = 0; g < stone.nFacet; ++g)
                if (dot(n, stone.facets[g].normal()) > 1 - 1e-9) f = g;
            ASSERT_GE(f, 0) << "a polygon that is no facet, or turned inwards";
            ++polygonsOf[f];
            std::vector<int32_t> ring = facetRing(stone, f);
            std::vector<int32_t> corners(face.corners.begin(), face.corners.end());
            std::vector<int32_t> forward = ring, backward(ring.rbegin(), ring.rend());
            for (auto* r : {&forward, &backward})
                if (auto at = std::find(r->begin(), r->end(), corners[0]); at != r->end()) std::rotate(r->begin(), at, r->end());
            EXPECT_TRUE(corners == forward || corners == backward) << "facet " << f << " has other corners";
            EXPECT_EQ(face.group, tierName(stone, f)) << "every facet of these samples is named";
            for (int v : face.corners) EXPECT_NEAR(dot(n, obj.vertices[v]), stone.facets[f].d * k, 1e-6);
            for (size_t c = 1; c + 1 < face.corners.size(); ++c)
                volume += dot(obj.vertices[face.corners[0]],
                              cross(obj.vertices[face.corners[c]], obj.vertices[face.corners[c + 1]])) / 6;
        }
        for (int32_t f = 0; f < stone.nFacet; ++f) EXPECT_EQ(polygonsOf[f], 1) << "facet " << f;
        EXPECT_NEAR(volume, computeVolume(stone) * k * k * k, 1e-6);
    }
}

TEST(Obj, HeadingCommentAndUnits) {
    Stone stone = makeRoundBrilliant();
    stone.heading = {"Round \xE9t\xE9", "", "second\tline", ""};
    const Obj obj = parseObj(objText(stone));
    ASSERT_GE(obj.comments.size(), 2u);
    EXPECT_EQ(obj.comments[0], "# Brevix gemstone mesh, design units");
    EXPECT_EQ(obj.comments[1], "# Round \xC3\xA9t\xC3\xA9 / second line");
    EXPECT_EQ(objText(stone, 2).rfind("# Brevix gemstone mesh, mm\n", 0), 0u);
}

// The facets of each group, by group name, and the names in file order.
struct Groups {
    std::vector<std::string> order;
    std::map<std::string, std::vector<int32_t>> facets;
};

Groups groupsOf(const Stone& stone) {
    const Obj obj = parseObj(objText(stone));
    Groups groups;
    EXPECT_EQ(obj.faces.size(), size_t(stone.nFacet));
    for (const Obj::Face& face : obj.faces) {
        if (groups.order.empty() || groups.order.back() != face.group) {
            EXPECT_EQ(groups.facets.count(face.group), 0u) << face.group << " comes twice: readers would merge them";
            groups.order.push_back(face.group);
        }
        // The facet is the one the polygon faces the way of.
        const Vec3 n = newellNormal(obj, face);
        int32_t facet = -1;
        for (int32_t f = 0; f < stone.nFacet; ++f)
            if (dot(n * (1 / length(n)), stone.facets[f].normal()) > 1 - 1e-9) facet = f;
        groups.facets[face.group].push_back(facet);
    }
    for (auto& [name, facets] : groups.facets) std::sort(facets.begin(), facets.end());
    return groups;
}

std::vector<int32_t> facetsOfTier(const Stone& stone, int32_t tier) {
    std::vector<int32_t> facets;
    for (int32_t f = 0; f < stone.nFacet; ++f)
        if (stone.facets[f].tier == tier) facets.push_back(f);
    return facets;
}

TEST(Obj, OneGroupPerTierUnderTheTiersName) {
    Stone stone = makeRoundBrilliant();
    std::vector<int32_t> tiers;
    for (int32_t f = 0; f < stone.nFacet; ++f)
        if (tiers.empty() || tiers.back() != stone.facets[f].tier) tiers.push_back(stone.facets[f].tier);
    ASSERT_GE(tiers.size(), 4u);
    // A tier renamed in the cut list when none of it was named has one named
    // facet (not the first); a tier may carry two names (the instructions
    // show the first); one has none; two tiers share a name.
    const std::vector<int32_t> one = facetsOfTier(stone, tiers[0]), two = facetsOfTier(stone, tiers[1]),
                               three = facetsOfTier(stone, tiers[2]), four = facetsOfTier(stone, tiers[3]);
    ASSERT_GE(one.size(), 3u);
    for (int32_t f : one) stone.facets[f].name.clear();
    stone.facets[one[2]].name = "Girdle ring";
    stone.facets[two[1]].name = "Other";
    for (int32_t f : three) stone.facets[f].name.clear();
    for (int32_t f : four) stone.facets[f].name = stone.facets[two[0]].name;
    // A tier need not be cut in one run: a facet of the first tier far down.
    std::vector<int32_t> last = facetsOfTier(stone, tiers.back());
    ASSERT_GE(last.size(), 1u);
    stone.facets[last.back()].tier = tiers[0];
    std::vector<int32_t> oneAndLate = one;
    oneAndLate.push_back(last.back());

    const Groups groups = groupsOf(stone);
    ASSERT_GE(groups.order.size(), 4u);
    const std::string twoName = stone.facets[two[0]].name;
    EXPECT_EQ(std::vector<std::string>(groups.order.begin(), groups.order.begin() + 4),
              (std::vector<std::string>{"Girdle_ring", twoName, "tier" + std::to_string(tiers[2]), twoName + "_2"}));
    EXPECT_EQ(groups.facets.at("Girdle_ring"), oneAndLate);
    EXPECT_EQ(groups.facets.at(twoName), two);
    EXPECT_EQ(groups.facets.at("tier" + std::to_string(tiers[2])), three);
    EXPECT_EQ(groups.facets.at(twoName + "_2"), four);
    EXPECT_EQ(groups.order.size(), tiers.size() - (last.size() == 1 ? 1 : 0));
}

TEST(Obj, TheRoughBlocksFacesAreAGroupOfTheirOwn) {
    Stone cube;
    const Groups groups = groupsOf(cube);
    EXPECT_EQ(groups.order, std::vector<std::string>{"rough"});
    EXPECT_EQ(groups.facets.at("rough").size(), 6u);
}

TEST(MeshExports, WrittenWholeOrNotAtAll) {
    ScratchDir dir;
    Diagnostics notes;
    const std::string missing = (dir / "no-such-folder" / "x.stl").string();
    EXPECT_FALSE(writeStl(Stone(), missing, 0, notes));
    EXPECT_FALSE(writeObj(Stone(), missing, 0, notes));
    const std::string reason = "\nThere is no folder " + (dir / "no-such-folder").string() + ".";
    EXPECT_EQ(notes.texts(), (std::vector<std::string>{"Cannot open " + missing + " to write." + reason,
                                                   "Cannot open " + missing + " to write." + reason}));
    const std::string stl = (dir / "cube.stl").string(), obj = (dir / "cube.obj").string();
    notes.clear();
    ASSERT_TRUE(writeStl(Stone(), stl, 2, notes));
    ASSERT_TRUE(writeObj(Stone(), obj, 2, notes));
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(readFileBytes(stl), stlBytes(Stone(), 2));
    EXPECT_EQ(readFileBytes(obj), objText(Stone(), 2));
}
