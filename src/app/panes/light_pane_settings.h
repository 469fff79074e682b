#pragma once
// What the Light Performance pane remembers between runs, below
// HKEY_CURRENT_USER\Software\Brevix\LightPerformance. Qt-free.
#include <cstdint>
#include <string>

#include "optics/environment.h"

namespace brevix {

inline constexpr const char* LIGHT_PERFORMANCE_KEY = "Software\\Brevix\\LightPerformance";

struct LightPaneSettings {
    bool visible = false;
    int32_t dockArea = 2;      // Qt's dock area number: 1 left, 2 right, 4 top, 8 bottom
    bool floating = false;
    // The lighting the picture and the room's figures are made under.
    optics::Environment lighting = optics::Environment::Iso;
    std::string material;      // a listed material's name; empty = the design's own index
    double tiltDegrees = 0;
    double coneDegrees = 60;
    double headShadowDegrees = 0;
    double tiltStep = 5;       // of the tilt graph, from -30 to +30
    bool dispersion = false;
    friend bool operator==(const LightPaneSettings&, const LightPaneSettings&) = default;
};

// Stored values, each checked against its range; the default where one is
// missing or out of range.
LightPaneSettings loadLightPaneSettings();
bool saveLightPaneSettings(const LightPaneSettings& settings);

}  // namespace brevix
