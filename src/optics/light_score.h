#pragma once
// The light figures of one design: the material (a listed one, a typed
// index, or the design's own index), the face-up picture with its ISO and
// COS brightness, and the tilt sweep. The command line, batch scoring, the
// gallery and the Light Performance pane with its worker all choose the
// material and render through here, so the same design and settings give
// the same figures and the same picture everywhere.
#include <optional>
#include <string>
#include <vector>

#include "optics/dispersion.h"
#include "optics/face_up.h"
#include "optics/light_metrics.h"
#include "optics/light_picture.h"
#include "optics/materials.h"
#include "optics/tilt_sweep.h"

namespace brevix {
class Stone;
}

namespace brevix::optics {

// What the light is traced with. A listed material brings its own index.
// Otherwise the typed index, else the design's own, is traced, and is a
// material of its own unless a listed one has that index: that material
// lends its name and dispersion but not its (rounded) index.
struct LightChoice {
    Material material;           // its name and dispersion (nF - nC) for fire
    double refractiveIndex = 0;  // what the light is traced with
};
LightChoice chooseLight(const std::optional<Material>& listed, std::optional<double> typedIndex,
                        double designIndex);

// One face-up render at `options`: the plain picture, or the three colours
// of fire when `dispersion` is given.
struct LightRender {
    FaceUpImage image;                       // the D line's picture with dispersion
    std::optional<DispersionImage> colours;  // with dispersion only
    bool complete = true;                    // false when options.cancel gave it up
};
LightRender renderLight(const Stone& stone, const FaceUpOptions& options, std::optional<double> dispersion);

// What a person sees of a render: in colour when it has colours.
RgbPicture picture(const LightRender& render, LightModel model);
RgbPicture picture(const LightRender& render, Environment environment);

struct LightSettings {
    std::optional<double> ri;              // a typed index
    std::optional<Material> material;      // a listed material (not with ri)
    FaceUpOptions options;                 // refractiveIndex is set from the above
    bool dispersion = false;               // three colours; the figures are the D line's
    std::optional<TiltRange> sweep;
    // Scintillation over SCINTILLATION_TILTS: a sweep of its own.
    bool scintillation = false;
};

struct LightScore : LightRender {
    Material material;
    double refractiveIndex = 0;            // traced with
    std::vector<TiltBrightness> sweep;     // empty without a sweep
    LightMetrics metrics;                  // of `image`
    std::optional<double> fire;            // with dispersion
    std::optional<double> scintillation;   // when asked
    // Under a room light (options.lighting.environment): its figures, and
    // its scintillation when asked.
    std::optional<SceneFigures> scene;
    std::optional<double> sceneScintillation;
};

LightScore scoreLight(const Stone& stone, const LightSettings& settings);

// How the command line prints a brightness: per cent with one decimal.
std::string brightnessText(double percent);

// The lines `brevix-cli light` prints after the brightness and tilt lines:
// windowing, extinction and contrast, scintillation when asked, fire with
// dispersion, the tilt averages with a sweep, and last the figures under
// the room light when there is one (sceneText).
std::string metricsText(const LightScore& score);

// The figures under the room light, each line named by the room: its
// brightness, contrast, scintillation when asked, the ASET zones, and the
// tilt averages with a sweep. Empty without a room.
std::string sceneText(const LightScore& score);

// Every line `brevix-cli light` prints: the brightness, the tilt lines,
// then metricsText.
std::string lightReport(const LightScore& score);

}  // namespace brevix::optics
