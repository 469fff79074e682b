#include <gtest/gtest.h>

#include "design/sample_designs.h"
#include "file_test_support.h"
#include "files/binary_io.h"
#include "files/facet_ring.h"
#include "files/thumbnail.h"

using namespace brevix;
using namespace brevix::testing;

namespace {

Stone thumbnailStone(const std::string& bytes) {
    Stone s;
    readThb(s, bytesOf(bytes));
    passOn(s);
    return s;
}

std::vector<double> everyIndex(int gear) {
    std::vector<double> out;
    for (int i = 1; i <= gear; ++i) out.push_back(i);
    return out;
}

// A tetrahedron-like thumbnail: three points and one facet, as raw bytes.
std::string triangleThumbnail(const std::string& ring, bool endMark = true) {
    std::string out;
    le::putU16(out, 1);
    le::putU16(out, 4);
    out += std::string("\0\0\0", 3);
    out += std::string("\x00\x00\x73", 3);  // (0, 0, 1)
    out += std::string("\x73\x00\x73", 3);  // (1, 0, 1)
    out += std::string("\x00\x73\x73", 3);  // (0, 1, 1)
    out.push_back('\0');                    // octant: up
    out += ring;
    if (endMark) out.push_back(static_cast<char>(0xFF));
    return out;
}

}  // namespace

TEST(Thumbnail, RoughCubeBytes) {
    const std::string bytes = thumbnailBytes(Stone());
    ASSERT_EQ(bytes.size(), 4u + 9 * 3 + 6 + 6 * 5 + 1);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x06\x00\x09\x00", 4));
    EXPECT_EQ(bytes.substr(4, 6), std::string("\x00\x00\x00\x8C\x8C\x8C", 6));  // origin, then -116
    EXPECT_EQ(bytes.substr(28, 3), std::string("\x75\x75\x75", 3));               // vertex 7: 117
    EXPECT_EQ(bytes.substr(31, 6), std::string("\x00\x00\x00\x01\x02\x04", 6));
    EXPECT_EQ(bytes.substr(37, 5), std::string("\x06\x05\x07\x08\x06", 5));  // facet 0, closed
    EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 0xFF);
}

TEST(Thumbnail, ReadBackGivesTheFacetsForDrawing) {
    Messages m;
    const Stone brilliant = makeRoundBrilliant();
    const Stone s = thumbnailStone(thumbnailBytes(brilliant));
    EXPECT_TRUE(m.texts().empty());
    ASSERT_EQ(s.nFacet, brilliant.nFacet);
    ASSERT_EQ(s.nVertex, brilliant.nVertex + 1);
    EXPECT_EQ(s.nEdge, 2 * brilliant.nEdge);  // every edge once per facet
    for (int32_t f = 0; f < s.nFacet; ++f) {
        const Facet &got = s.facets[f], &want = brilliant.facets[f];
        EXPECT_GT(got.a * want.a + got.b * want.b + got.c * want.c, 0.99) << f;
        EXPECT_NEAR(got.d, want.d, 0.02) << f;
        EXPECT_EQ(got.tier, f);
        EXPECT_TRUE(got.name.empty());
    }
}

TEST(Thumbnail, PointNumbersFrom255OnAreEscaped) {
    Stone s;
    cutTier(s, {"G", 90, 1.0, everyIndex(96), ""});
    cutTier(s, {"C", 40, 0.8, everyIndex(96), ""});
    cutTier(s, {"P", -40, 0.8, everyIndex(96), ""});
    ASSERT_GE(s.nVertex, 280);
    const std::string bytes = thumbnailBytes(s);
    // The ring of the last crown facet names high points in three bytes.
    std::string wide;
    wide.push_back(static_cast<char>(0xFF));
    le::putU16(wide, 300);
    EXPECT_NE(bytes.find(wide), std::string::npos);
    Messages m;
    const Stone back = thumbnailStone(bytes);
    EXPECT_TRUE(m.texts().empty());
    EXPECT_EQ(back.nEdge, 2 * s.nEdge);
}

TEST(Thumbnail, RepeatedCornerIsSkipped) {
    const Stone s = thumbnailStone(triangleThumbnail(std::string("\x01\x02\x02\x03\x01", 5)));
    ASSERT_EQ(s.nFacet, 1);
    EXPECT_EQ(s.nEdge, 3);
    EXPECT_NEAR(s.facets[0].c, 1, 1e-12);
    EXPECT_NEAR(s.facets[0].d, 1, 1e-12);
}

TEST(Thumbnail, BrokenFilesAreReported) {
    {
        Messages m;
        Stone s;
        EXPECT_FALSE(readThb(s, bytesOf(triangleThumbnail(std::string("\x01\x02\x09\x01", 4)))));
        passOn(s);
        EXPECT_EQ(m.texts(),
                  std::vector<std::string>{"Thumbnail file problem: Point index out of bounds"});
        EXPECT_EQ(s.nFacet, 0);  // nothing to draw
        EXPECT_EQ(s.nVertex, 0);
    }
    {
        Messages m;
        const Stone s = thumbnailStone(triangleThumbnail(std::string("\x01\x02\x03\x01", 4), false));
        EXPECT_EQ(m.texts(), std::vector<std::string>{"Thumbnail file ended abnormally."});
        EXPECT_EQ(s.nEdge, 3);  // what was read stays
    }
    {
        Messages m;
        const std::string full = thumbnailBytes(makeRoundBrilliant());
        for (size_t size = 0; size < full.size(); size += 7) {
            Stone s;
            readThb(s, bytesOf(full.substr(0, size)));
            passOn(s);
            for (int32_t j = 0; j < s.nEdge; ++j) {
                ASSERT_LT(s.edges[j].v[0], s.nVertex);
                ASSERT_LT(s.edges[j].v[1], s.nVertex);
            }
        }
    }
}
