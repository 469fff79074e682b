#pragma once
// How much memory the machine can still give without swapping, for work
// that decides how much to do at once. 0 when it cannot be told.
#include <cstdint>

namespace brevix {

uint64_t availableMemory();

}  // namespace brevix
