#pragma once
// The colours the view tests look for in a drawn pane: the background, the
// grey of the rough block's faces, and the green of a light ray.
#include "views/canvas.h"

namespace brevix {

constexpr Rgb BLACK{0, 0, 0}, GREY{220, 220, 220}, GREEN{0, 255, 0};

}  // namespace brevix
