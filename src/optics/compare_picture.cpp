#include "optics/compare_picture.h"

#include <algorithm>

namespace brevix::optics {

Lighting observerLighting(const Lighting& lighting) {
    Lighting observed = lighting;
    if (!(observed.headShadowDegrees > 0)) observed.headShadowDegrees = OBSERVER_HEAD_DEGREES;
    return observed;
}

RgbPicture faceUpPicture(const Stone& stone, FaceUpOptions options, Environment environment) {
    if (hasScene(environment)) options.lighting.environment = environment;
    return picture(renderFaceUp(stone, options), environment);
}

RgbPicture comparePictures(const Stone& start, const Stone& result, const FaceUpOptions& options,
                           Environment environment) {
    const int n = std::max(options.size, 1);
    RgbPicture out;
    out.width = 2 * n + COMPARE_GAP;
    out.height = 2 * n + COMPARE_GAP;
    out.rgb.resize(size_t(out.width) * out.height * 3);
    for (size_t i = 0; i < out.rgb.size(); i += 3) std::copy(BACKGROUND_RGB, BACKGROUND_RGB + 3, &out.rgb[i]);
    const Stone* stones[2] = {&start, &result};
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col) {
            FaceUpOptions one = options;
            one.size = n;
            if (row == 1) one.lighting = observerLighting(options.lighting);
            const RgbPicture p = faceUpPicture(*stones[col], one, environment);
            if (p.width != n || p.height != n) continue;
            for (int y = 0; y < n; ++y) {
                const uint8_t* from = &p.rgb[size_t(y) * n * 3];
                uint8_t* to = &out.rgb[(size_t(row * (n + COMPARE_GAP) + y) * out.width + col * (n + COMPARE_GAP)) * 3];
                std::copy(from, from + size_t(n) * 3, to);
            }
        }
    return out;
}

}  // namespace brevix::optics
