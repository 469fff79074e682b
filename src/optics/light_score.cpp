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

LightScore scoreLight(const Stone& stone, const LightSettings& settings) {
    LightScore score;
    const LightChoice choice = chooseLight(settings.material, settings.ri, stone.refractiveIndex);
    score.material = choice.material;
    score.refractiveIndex = choice.refractiveIndex;
    FaceUpOptions options = settings.options;
    options.refractiveIndex = choice.refractiveIndex;
    static_cast<LightRender&>(score) =
        renderLight(stone, options, settings.dispersion ? std::optional(choice.material.dispersion) : std::nullopt);
    if (settings.sweep && score.complete) {
        TiltSweep sweep = sweepTilts(stone, options, *settings.sweep);
        score.complete = sweep.complete;
        score.sweep = std::move(sweep.points);
    }
    return score;
}

std::string brightnessText(double percent) { return strprintf("%.1f", percent); }

}  // namespace brevix::optics
