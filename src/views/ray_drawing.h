#pragma once
// The light rays kept in a stone, drawn with the current (ray) pen: the
// stubs entering and leaving the stone in the pen's inverse colour, the path
// inside in the pen's own. The list is filled by Stone::traceRay, which the
// views call through ray_shooting.h.
#include "kernel/stone.h"
#include "views/view.h"

namespace brevix {

void drawRays(const Stone& stone, View& view);

}  // namespace brevix
