#pragma once
// The light rays kept in a stone, drawn with the current (ray) pen: the
// stubs entering and leaving the stone in the pen's inverse colour, the path
// inside in the pen's own. Tracing the rays that fill the list is the
// raytrace's business; it shoots from View::unproject(x, y, -1.1).
#include "kernel/stone.h"
#include "views/view.h"

namespace brevix {

void drawRays(const Stone& stone, View& view);

}  // namespace brevix
