#pragma once
// What a design file is, told by the last three characters of its name.
#include <cstdint>
#include <string_view>

namespace brevix {

// The codes are stored nowhere but are the document's `openType` and
// `saveType`; keep their values. The meshes for jewellery CAD come after
// the original seven, and the design with its cutting intent after them.
enum class FileType : int32_t {
    Other = 0, Gem = 1, Asc = 2, Wrl = 3, Dxf = 4, B3d = 5, Thb = 6, Stl = 7, Obj = 8, Brx = 9
};

// Trailing blanks are dropped and the last three characters compared in
// lower case, without looking for a dot: "stonegem" is a .gem file.
FileType fileTypeOf(std::string_view path);

// The type for an extension (without the dot, any case); Other if unknown.
FileType fileTypeOfExtension(std::string_view extension);

}  // namespace brevix
