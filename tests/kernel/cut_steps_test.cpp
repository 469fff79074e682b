// The rough block's tables, from which the float cut and the exact rebuild
// both start: a wrong entry would give the two different blocks.
#include <gtest/gtest.h>

#include "kernel/cut_steps.h"

namespace brevix {
namespace {

// The rough block's tables: every edge runs between two corners that both
// lie on the edge's two faces, and every face has four edges.
TEST(RoughTables, EachEdgeJoinsCornersOnBothItsFaces) {
    int edgesOfFace[6] = {};
    for (const auto& e : cut::ROUGH_EDGES) {
        for (int end = 0; end < 2; ++end) {
            for (int face = 2; face < 4; ++face) {
                bool on = false;
                for (int axis = 0; axis < 3; ++axis) on = on || cut::roughCornerFace(e[end], axis) == e[face];
                EXPECT_TRUE(on) << "corner " << e[end] << " is not on face " << e[face];
            }
        }
        ++edgesOfFace[e[2]];
        ++edgesOfFace[e[3]];
    }
    for (int count : edgesOfFace) EXPECT_EQ(count, 4);
    for (int corner = 0; corner < 8; ++corner)
        for (int axis = 0; axis < 3; ++axis) {
            const int face = cut::roughCornerFace(corner, axis);
            EXPECT_EQ(cut::ROUGH_NORMALS[face][axis], (corner & (4 >> axis)) ? 1 : -1);
        }
}

}  // namespace
}  // namespace brevix
