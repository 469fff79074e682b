#pragma once
// The light figures of one design as `brevix-cli light` gives them: the
// material (a listed one, a typed index, or the design's own index), the
// face-up picture with its ISO and COS brightness, and the tilt sweep. The
// command, batch scoring and the gallery all score through here, so their
// figures are the same for the same design and settings.
#include <optional>
#include <string>
#include <vector>

#include "optics/dispersion.h"
#include "optics/face_up.h"
#include "optics/light_metrics.h"
#include "optics/materials.h"
#include "optics/tilt_sweep.h"

namespace brevix {
class Stone;
}

namespace brevix::optics {

struct LightSettings {
    std::optional<double> ri;              // a typed index
    std::optional<Material> material;      // a listed material (not with ri)
    FaceUpOptions options;                 // refractiveIndex is set from the above
    bool dispersion = false;               // three colours; the figures are the D line's
    std::optional<TiltRange> sweep;
};

struct LightScore {
    Material material;
    FaceUpImage image;                     // the D line's picture with dispersion
    std::optional<DispersionImage> colours;
    std::vector<TiltBrightness> sweep;     // empty without a sweep
    LightMetrics metrics;                  // of `image`
    std::optional<double> fire;            // with dispersion
    bool complete = true;                  // false when options.cancel gave it up
};

// A typed index (or the design's own) is a material of its own unless it is
// a listed one.
Material chosenMaterial(const LightSettings& settings, double designIndex);

LightScore scoreLight(const Stone& stone, const LightSettings& settings);

// How the command line prints a brightness: per cent with one decimal.
std::string brightnessText(double percent);

// The lines `brevix-cli light` prints after the brightness and tilt lines:
// windowing, extinction and contrast, fire with dispersion, and the tilt
// averages with a sweep.
std::string metricsText(const LightScore& score);

// Every line `brevix-cli light` prints: the brightness, the tilt lines,
// then metricsText.
std::string lightReport(const LightScore& score);

}  // namespace brevix::optics
