#include "document/file_type.h"

#include <string>

namespace brevix {

namespace {
std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}
}  // namespace

FileType fileTypeOfExtension(std::string_view extension) {
    const std::string ext = lower(extension);
    if (ext == "gem") return FileType::Gem;
    if (ext == "asc") return FileType::Asc;
    if (ext == "wrl") return FileType::Wrl;
    if (ext == "dxf") return FileType::Dxf;
    if (ext == "b3d") return FileType::B3d;
    if (ext == "thb") return FileType::Thb;
    if (ext == "stl") return FileType::Stl;
    if (ext == "obj") return FileType::Obj;
    if (ext == "brx") return FileType::Brx;
    return FileType::Other;
}

FileType fileTypeOf(std::string_view path) {
    while (!path.empty() && path.back() == ' ') path.remove_suffix(1);
    if (path.size() < 3) return FileType::Other;
    return fileTypeOfExtension(path.substr(path.size() - 3));
}

}  // namespace brevix
