#pragma once
// printf-style formatting into a std::string: every user-visible number in
// this program has a C format ("%.6f", "%9.6f", …) that must be kept exactly.
#include <string>

namespace brevix {

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace brevix
