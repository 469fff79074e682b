#include "views/ray_shooting.h"

namespace brevix {

int rayPaneAt(std::span<const View> panes, int hoverPane, int x, int y) {
    if (hoverPane >= 0 && hoverPane < static_cast<int>(panes.size())) return hoverPane;
    for (size_t k = 0; k < panes.size(); ++k)
        if (panes[k].inViewport(x, y)) return static_cast<int>(k);
    return -1;
}

RayShot shootRay(Stone& stone, std::span<const View> panes, int hoverPane, int x, int y) {
    const int k = rayPaneAt(panes, hoverPane, x, y);
    if (k < 0) return {.recorded = false, .beep = true};
    return shootRayInPane(stone, panes[k], x, y);
}

RayShot shootRayInPane(Stone& stone, const View& pane, int x, int y) {
    const Vec3 start = pane.unproject(x, y, RAY_START_DEPTH);
    // Into the screen: the pane's axes are unit vectors, so this is one too.
    const Stone::RayEnd end = stone.traceRay(start, pane.w * -1.0);
    return {.recorded = end != Stone::RayEnd::Missed, .beep = end != Stone::RayEnd::LeftStone};
}

}  // namespace brevix
