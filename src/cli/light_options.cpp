#include "cli/light_options.h"

#include <CLI/CLI.hpp>

#include "cli/options.h"

namespace brevix::cli {

void addLightOptions(CLI::App& app, LightOptions& a, const char* materialHelp, const char* sizeHelp) {
    optics::FaceUpOptions& o = a.options;
    addNumber(app, "--ri", "refractive index (else the design's own)", {1.01, 3.0, "a number", "1.54"}, a.ri)
        ->type_name("R");
    addMaterial(app, "--material", materialHelp, a.material);
    addWholeNumber(app, "--size", sizeHelp, {8, 4096, "a number", "512"}, "pixels", o.size)->type_name("N");
    addNumber(app, "--tilt", "tilt of the stone in degrees", {-90, 90, "degrees", "10"}, o.tiltDegrees)
        ->type_name("DEG");
    addNumber(app, "--cone", "half-angle of the lit cone in degrees", {1, 90, "degrees", "60"},
              o.lighting.coneDegrees)
        ->type_name("DEG");
    addNumber(app, "--head-shadow", "half-angle of the viewer's head shadow in degrees", {0, 89, "degrees", "20"},
              o.lighting.headShadowDegrees)
        ->type_name("DEG");
}

void checkLightOptions(const LightOptions& a) {
    if (a.ri && a.material) throw UsageError("give either --ri or --material, not both");
}

optics::Environment oneLighting(const std::string& text) {
    std::string error;
    const auto lightings = optics::parseEnvironments(text, error);
    if (!lightings) throw UsageError(error);
    if (lightings->size() != 1) throw UsageError("--lighting takes one lighting here");
    return lightings->front();
}

void addLightingsOptions(CLI::App& app, std::vector<optics::Environment>& lightings, bool& worst,
                         const char* lightingsHelp, const char* worstHelp) {
    app.add_option_function<std::string>(
           "--lighting",
           [&lightings](const std::string& text) {
               std::string error;
               const auto parsed = optics::parseEnvironments(text, error);
               if (!parsed) throw UsageError(error);
               lightings = *parsed;
           },
           lightingsHelp)
        ->type_name("LIGHTING,LIGHTING...");
    app.add_flag("--worst", worst, worstHelp);
}

void checkWorst(const std::vector<optics::Environment>& lightings, bool worst) {
    if (worst && lightings.size() < 2) throw UsageError("--worst needs two or more lightings in --lighting");
}

}  // namespace brevix::cli
