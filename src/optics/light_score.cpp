#include "optics/light_score.h"

#include "kernel/stone.h"
#include "platform/strformat.h"

namespace brevix::optics {

LightChoice chooseLight(const std::optional<Material>& listed, std::optional<double> typedIndex,
                        double designIndex) {
    if (listed) return {*listed, listed->refractiveIndex};
    const double index = typedIndex ? *typedIndex : designIndex;
    return {materialForIndex(index), index};
}

LightRender renderLight(const Stone& stone, const FaceUpOptions& options, std::optional<double> dispersion) {
    LightRender out;
    if (dispersion) {
        out.colours = renderDispersion(stone, options, *dispersion);
        out.image = out.colours->channels[1];
        out.complete = out.colours->complete;
    } else {
        out.image = renderFaceUp(stone, options);
        out.complete = out.image.complete;
    }
    return out;
}

RgbPicture picture(const LightRender& render, LightModel model) {
    return render.colours ? picture(*render.colours, model) : picture(render.image, model);
}

RgbPicture picture(const LightRender& render, Environment environment) {
    return render.colours ? picture(*render.colours, environment) : picture(render.image, environment);
}

LightScore scoreLight(const Stone& stone, const LightSettings& settings) {
    LightScore score;
    const LightChoice choice = chooseLight(settings.material, settings.ri, stone.refractiveIndex);
    score.material = choice.material;
    score.refractiveIndex = choice.refractiveIndex;
    FaceUpOptions options = settings.options;
    options.refractiveIndex = choice.refractiveIndex;
    static_cast<LightRender&>(score) =
        renderLight(stone, options, settings.dispersion ? std::optional(choice.material.dispersion) : std::nullopt);
    score.metrics = lightMetrics(score.image);
    if (score.colours) score.fire = fireFigure(*score.colours);
    if (hasScene(options.lighting.environment)) score.scene = sceneFigures(score.image);
    if (settings.sweep && score.complete) {
        TiltSweep sweep = sweepTilts(stone, options, *settings.sweep);
        score.complete = sweep.complete;
        score.sweep = std::move(sweep.points);
    }
    if (settings.scintillation && score.complete) {
        const TiltSweep small = sweepTilts(stone, options, SCINTILLATION_TILTS);
        score.complete = small.complete;
        score.scintillation = small.scintillation;
        if (score.scene) score.sceneScintillation = small.sceneScintillation;
    }
    return score;
}

std::string brightnessText(double percent) { return strprintf("%.1f", percent); }

std::string metricsText(const LightScore& score) {
    std::string text = "Windowing: " + brightnessText(score.metrics.windowing) + "%\n";
    text += "Extinction: " + brightnessText(score.metrics.extinction) + "%\n";
    text += "Contrast: " + brightnessText(score.metrics.contrast) + "%\n";
    if (score.scintillation) text += "Scintillation: " + brightnessText(*score.scintillation) + "%\n";
    if (score.fire) text += "Fire: " + brightnessText(*score.fire) + "%\n";
    if (!score.sweep.empty()) {
        const TiltAverages a = tiltAverages(score.sweep);
        text += "Tilt average ISO brightness: " + brightnessText(a.iso) + "%\n";
        text += "Tilt average COS brightness: " + brightnessText(a.cos) + "%\n";
        text += "Tilt average windowing: " + brightnessText(a.windowing) + "%\n";
        text += "Tilt average extinction: " + brightnessText(a.extinction) + "%\n";
        text += "Tilt average contrast: " + brightnessText(a.contrast) + "%\n";
    }
    return text + sceneText(score);
}

std::string sceneText(const LightScore& score) {
    if (!score.scene) return {};
    const std::string room = environmentLabel(score.image.environment);
    auto line = [&](const char* figure, double percent) {
        return room + " " + figure + ": " + brightnessText(percent) + "%\n";
    };
    std::string text = line("brightness", score.scene->brightness);
    text += line("contrast", score.scene->contrast);
    if (score.sceneScintillation) text += line("scintillation", *score.sceneScintillation);
    if (score.image.environment == Environment::Aset) {
        text += line("red", score.scene->red);
        text += line("green", score.scene->green);
        text += line("blue", score.scene->blue);
        text += line("black", score.scene->black);
    }
    if (!score.sweep.empty()) {
        const TiltAverages a = tiltAverages(score.sweep);
        text += "Tilt average " + line("brightness", a.scene);
        text += "Tilt average " + line("contrast", a.sceneContrast);
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
