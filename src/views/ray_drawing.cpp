#include "views/ray_drawing.h"

#include <algorithm>

namespace brevix {

void drawRays(const Stone& stone, View& view) {
    const int32_t points = std::min<int32_t>(stone.nRay, static_cast<int32_t>(stone.rays.size())) / 4;
    if (points == 0) return;
    auto isStart = [&](int32_t k) { return stone.rays[4 * k] == 1.0; };
    for (int32_t k = 0; k < points; ++k) {
        const Vec3 p{stone.rays[4 * k + 1], stone.rays[4 * k + 2], stone.rays[4 * k + 3]};
        if (isStart(k)) {
            view.moveTo3(p);
            continue;
        }
        const bool entering = k > 0 && isStart(k - 1);
        const bool leaving = k == points - 1 || isStart(k + 1);
        if (view.dc)
            view.dc->setRasterOp(entering || leaving ? RasterOp::NotCopyPen : RasterOp::CopyPen);
        view.lineTo3(p);
    }
    if (view.dc) view.dc->setRasterOp(RasterOp::CopyPen);
}

}  // namespace brevix
