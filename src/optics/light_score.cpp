#include "optics/light_score.h"

#include "kernel/stone.h"
#include "platform/strformat.h"

namespace brevix::optics {

Material chosenMaterial(const LightSettings& settings, double designIndex) {
    if (settings.material) return *settings.material;
    return materialForIndex(settings.ri ? *settings.ri : designIndex);
}

LightScore scoreLight(const Stone& stone, const LightSettings& settings) {
    LightScore score;
    score.material = chosenMaterial(settings, stone.refractiveIndex);
    FaceUpOptions options = settings.options;
    options.refractiveIndex = settings.material ? score.material.refractiveIndex
                              : settings.ri     ? *settings.ri
                                                : stone.refractiveIndex;
    if (settings.dispersion) {
        score.colours = renderDispersion(stone, options, score.material.dispersion);
        score.image = score.colours->channels[1];
    } else {
        score.image = renderFaceUp(stone, options);
    }
    score.complete = score.image.complete && (!score.colours || score.colours->complete);
    if (settings.sweep && score.complete) {
        TiltSweep sweep = sweepTilts(stone, options, *settings.sweep);
        score.complete = sweep.complete;
        score.sweep = std::move(sweep.points);
    }
    return score;
}

std::string brightnessText(double percent) { return strprintf("%.1f", percent); }

}  // namespace brevix::optics
