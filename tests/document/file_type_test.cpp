#include "document/file_type.h"

#include <gtest/gtest.h>

namespace brevix {
namespace {

TEST(FileTypeOf, LastThreeCharactersInAnyCaseWithoutLookingForADot) {
    EXPECT_EQ(fileTypeOf("/x/stone.gem"), FileType::Gem);
    EXPECT_EQ(fileTypeOf("/x/stonegem"), FileType::Gem);  // no dot needed
    EXPECT_EQ(fileTypeOf("gem"), FileType::Gem);
    EXPECT_EQ(fileTypeOf("STONE.ASC  "), FileType::Asc);  // trailing blanks dropped
    EXPECT_EQ(fileTypeOf("a.Wrl"), FileType::Wrl);
    EXPECT_EQ(fileTypeOf("a.DXF"), FileType::Dxf);
    EXPECT_EQ(fileTypeOf("a.b3D"), FileType::B3d);
    EXPECT_EQ(fileTypeOf("a.thb"), FileType::Thb);
    EXPECT_EQ(fileTypeOf("a.STL"), FileType::Stl);
    EXPECT_EQ(fileTypeOf("a.obj "), FileType::Obj);
    // The original codes keep their numbers; the meshes come after them.
    EXPECT_EQ(static_cast<int>(FileType::Thb), 6);
    EXPECT_EQ(static_cast<int>(FileType::Stl), 7);
    EXPECT_EQ(static_cast<int>(FileType::Obj), 8);
    EXPECT_EQ(fileTypeOf("a.gems"), FileType::Other);
    EXPECT_EQ(fileTypeOf("em"), FileType::Other);
    EXPECT_EQ(fileTypeOf("   "), FileType::Other);
    EXPECT_EQ(fileTypeOf(""), FileType::Other);
}

}  // namespace
}  // namespace brevix
