#pragma once
// The core keeps every user text as single-byte Windows-1252, the code page
// the design files were written in; Unicode exists only at the UI boundary.
#include <string>
#include <string_view>

namespace brevix {

std::string cp1252ToUtf8(std::string_view bytes);

// Characters Windows-1252 cannot hold become '?'; malformed UTF-8 bytes are
// taken as Windows-1252 bytes, so text pasted from anywhere survives.
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace brevix
