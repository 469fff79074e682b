#pragma once
// Comparing names the way the registry, the install log and the material
// list do: ASCII letters without regard to case, every other byte as it is
// (names may hold Windows-1252 bytes that no locale should fold).
#include <string_view>

namespace brevix {

inline bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

}  // namespace brevix
