#pragma once
// How the light is traced, as `brevix-cli light` reads it and the commands
// that render as it does read it too: the material or a typed index, the
// picture's size, the tilt and the lighting.
#include <optional>
#include <string>
#include <vector>

#include "optics/face_up.h"
#include "optics/materials.h"

namespace CLI {
class App;
}

namespace brevix::cli {

struct LightOptions {
    std::optional<double> ri;
    std::optional<optics::Material> material;
    optics::FaceUpOptions options;  // its size is the default shown
};

// --ri R, --material NAME, --size N, --tilt DEG, --cone DEG and
// --head-shadow DEG, in that order; `materialHelp` says what the material
// brings, `sizeHelp` what --size sizes.
void addLightOptions(CLI::App& app, LightOptions& into, const char* materialHelp, const char* sizeHelp);
// Throws a UsageError when the options do not go together.
void checkLightOptions(const LightOptions& options);

// The one lighting --lighting names; throws a UsageError otherwise.
optics::Environment oneLighting(const std::string& text);

// --lighting LIGHTING,LIGHTING... and --worst, for the commands that judge
// under several lightings; `lightingsHelp` and `worstHelp` say what for.
void addLightingsOptions(CLI::App& app, std::vector<optics::Environment>& lightings, bool& worst,
                         const char* lightingsHelp, const char* worstHelp);
// Throws a UsageError when --worst has fewer than two lightings to choose from.
void checkWorst(const std::vector<optics::Environment>& lightings, bool worst);

}  // namespace brevix::cli
