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
    score.metrics = lightMetrics(score.image);
    if (score.colours) score.fire = fireFigure(*score.colours);
    if (settings.sweep && score.complete) {
        TiltSweep sweep = sweepTilts(stone, options, *settings.sweep);
        score.complete = sweep.complete;
        score.sweep = std::move(sweep.points);
    }
    return score;
}

std::string brightnessText(double percent) { return strprintf("%.1f", percent); }

std::string metricsText(const LightScore& score) {
    std::string text = "Windowing: " + brightnessText(score.metrics.windowing) + "%\n";
    text += "Extinction: " + brightnessText(score.metrics.extinction) + "%\n";
    text += "Contrast: " + brightnessText(score.metrics.contrast) + "%\n";
    if (score.fire) text += "Fire: " + brightnessText(*score.fire) + "%\n";
    if (!score.sweep.empty()) {
        const TiltAverages a = tiltAverages(score.sweep);
        text += "Tilt average ISO brightness: " + brightnessText(a.iso) + "%\n";
        text += "Tilt average COS brightness: " + brightnessText(a.cos) + "%\n";
        text += "Tilt average windowing: " + brightnessText(a.windowing) + "%\n";
        text += "Tilt average extinction: " + brightnessText(a.extinction) + "%\n";
        text += "Tilt average contrast: " + brightnessText(a.contrast) + "%\n";
    }
    return text;
}

std::string lightReport(const LightScore& score) {
    std::string report = "ISO brightness: " + brightnessText(score.image.isoBrightness) + "%\n";
    report += "COS brightness: " + brightnessText(score.image.cosBrightness) + "%\n";
    for (const TiltBrightness& p : score.sweep)
        report += strprintf("%.1f %s%% %s%%\n", p.tiltDegrees, brightnessText(p.iso).c_str(),
                            brightnessText(p.cos).c_str());
    return report + metricsText(score);
}

}  // namespace brevix::optics
