#include <gtest/gtest.h>

#include <algorithm>

#include "design/sample_designs.h"
#include "file_test_support.h"
#include "files/exports.h"
#include "files/facet_ring.h"

using namespace brevix;
using namespace brevix::testing;

namespace {

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(FacetRing, CornersGoRoundTheFacetInOrder) {
    const Stone cube;
    EXPECT_EQ(facetRing(cube, 3), (std::vector<int32_t>{0, 1, 3, 2}));
    const Stone brilliant = makeRoundBrilliant();
    for (int32_t f = 0; f < brilliant.nFacet; ++f) {
        const std::vector<int32_t> ring = facetRing(brilliant, f);
        ASSERT_GE(ring.size(), 3u);
        // Consecutive corners share an edge of the facet.
        for (size_t k = 0; k < ring.size(); ++k) {
            const int32_t p = ring[k], q = ring[(k + 1) % ring.size()];
            bool found = false;
            for (int32_t j = 0; j < brilliant.nEdge && !found; ++j) {
                const Edge& e = brilliant.edges[j];
                found = (e.f[0] == f || e.f[1] == f) &&
                        ((e.v[0] == p && e.v[1] == q) || (e.v[0] == q && e.v[1] == p));
            }
            EXPECT_TRUE(found) << "facet " << f << " corner " << k;
        }
    }
}

TEST(Vrml, RoughCubeIsTwelveTrianglesAfterEightPoints) {
    const std::string text = vrmlText(Stone());
    EXPECT_EQ(text.rfind("#VRML V1.0 ascii\n  Separator { \n", 0), 0u);
    EXPECT_EQ(count(text, ", -1"), 12u);
    EXPECT_NE(text.find("\n                -0.018847050000 -0.018847050000 -0.018847050000 , \n"),
              std::string::npos);
    // The last point has no separator after it.
    EXPECT_NE(text.find("0.018847050000 0.018847050000 0.018847050000  \n                     ]"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\n0, 1, 3, -1, \n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\n }                    # End of main separator \n"));
}

TEST(Dxf, RoughCubeIsTwelveFacesOnLayerGem) {
    const std::string text = dxfText(Stone(), "cube.dxf");
    EXPECT_EQ(text.rfind("999\nDXF gemstone file cube.dxf created by Brevix for Windows\n0\nSECTION\n", 0),
              0u);
    EXPECT_EQ(count(text, "0\n3DFACE\n8\nGEM\n"), 12u);
    EXPECT_NE(text.find("0\n3DFACE\n8\nGEM\n10\n1.020000\n20\n-1.020000\n30\n1.020000\n"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("\n62\n0\n0\nENDSEC\n0\nEOF\n"));
}

TEST(B3d, RoughCubeHeaderAndSections) {
    const std::vector<std::string> lines = linesOf(b3dText(Stone()));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "6,1,8,0,36");
    EXPECT_EQ(lines[1], "0,96");
    // Crown first (the top face), then the others; angles in radians, and
    // indexes counted from the opposite side of the gear.
    EXPECT_EQ(lines[2], "0,96");
    EXPECT_EQ(lines[3], "-1.570796,72");
    EXPECT_EQ(lines[8], "0,0,0,0,\"CCW\"");
    EXPECT_EQ(lines[9], "0,0,0,0,\"\"");
    EXPECT_EQ(lines[10], "0,0,0");
    EXPECT_EQ(lines[11], "-10,10,-20");  // vertex 0 scaled to the outline, z from the crown's bottom
    EXPECT_EQ(lines[19], "0,0,0,0");
    EXPECT_EQ(lines[20], "0");
    // Ring section: 36 lines, each ring closed and ended by 999.
    const size_t ringLines = lines.size() - 22;
    EXPECT_EQ(ringLines, 36u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "999"), 6);
    EXPECT_EQ(lines.back(), "-1");
}

TEST(B3d, GearDirectionAndExponentNotation) {
    Stone s;
    s.gear = -96;
    EXPECT_NE(b3dText(s).find("0,0,0,0,\"CW\"\n"), std::string::npos);

    // A corner a hair above zero prints in exponent form, with D for e.
    Stone tilted;
    tilted.newFacet(0, 0.6, 0.8, 0.5);
    tilted.vertices[0].x = 3e-10;
    const std::string text = b3dText(tilted);
    EXPECT_EQ(text.find('e'), std::string::npos);
    EXPECT_NE(text.find("D-09,"), std::string::npos) << text;
}

TEST(Exports, WritersReportWhatTheyCannotCreate) {
    ScratchDir dir;
    Diagnostics notes;
    const std::string missing = (dir / "no-such-folder" / "x.dxf").string();
    EXPECT_FALSE(writeDxf(Stone(), missing, notes));
    EXPECT_FALSE(writeB3d(Stone(), missing, notes));
    const std::string reason = "\nThere is no folder " + (dir / "no-such-folder").string() + ".";
    EXPECT_EQ(notes.texts(), (std::vector<std::string>{"Cannot open " + missing + " to write" + reason,
                                                       "Cannot open " + missing + " to write." + reason}));
    EXPECT_EQ(notes[0].kind, DiagKind::Warning);
    const auto path = (dir / "cube.wrl").string();
    notes.clear();
    EXPECT_TRUE(writeVrmlFile(Stone(), path, notes));
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(readFileBytes(path), vrmlText(Stone()));
}
