#include "app/panes/light_pane_settings.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "optics/materials.h"
#include "platform/number_parse.h"
#include "platform/registry.h"

namespace brevix {

namespace {

constexpr RegRoot kLightRoot = RegRoot::CurrentUser;

// Angles are kept as text so that fractions survive; "%g" needs no locale care
// through to_chars.
std::string angleText(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

void readAngle(const char* name, double low, double high, double& into) {
    const auto text = regGetString(kLightRoot, LIGHT_PERFORMANCE_KEY, name);
    if (!text) return;
    const std::optional<double> value = wholeNumber(*text, false);
    if (value && std::isfinite(*value) && *value >= low && *value <= high) into = *value;
}

std::optional<uint32_t> readDword(const char* name) { return regGetDword(kLightRoot, LIGHT_PERFORMANCE_KEY, name); }

}  // namespace

LightPaneSettings loadLightPaneSettings() {
    LightPaneSettings s;
    if (auto v = readDword("Visible")) s.visible = *v != 0;
    if (auto v = readDword("DockArea"); v && (*v == 1 || *v == 2 || *v == 4 || *v == 8)) s.dockArea = int32_t(*v);
    if (auto v = readDword("Floating")) s.floating = *v != 0;
    // "Lighting" names any room. Settings stored before there were rooms
    // have only "CosModel", and a Brevix of that time sharing these settings
    // writes only it: where it says COS, or ISO against a stored COS, it is
    // the later word.
    if (auto key = regGetString(kLightRoot, LIGHT_PERFORMANCE_KEY, "Lighting"))
        if (auto lighting = optics::environmentFromKey(*key)) s.lighting = *lighting;
    if (auto v = readDword("CosModel")) {
        if (*v != 0)
            s.lighting = optics::Environment::Cos;
        else if (s.lighting == optics::Environment::Cos)
            s.lighting = optics::Environment::Iso;
    }
    if (auto v = readDword("Dispersion")) s.dispersion = *v != 0;
    if (auto name = regGetString(kLightRoot, LIGHT_PERFORMANCE_KEY, "Material"); name && optics::findMaterial(*name))
        s.material = optics::findMaterial(*name)->name;
    readAngle("Tilt", -45, 45, s.tiltDegrees);
    readAngle("Cone", 1, 90, s.coneDegrees);
    readAngle("HeadShadow", 0, 89, s.headShadowDegrees);
    readAngle("TiltStep", 0.5, 30, s.tiltStep);
    return s;
}

bool saveLightPaneSettings(const LightPaneSettings& s) {
    if (regCreateKey(kLightRoot, LIGHT_PERFORMANCE_KEY) == RegOpen::Failed) return false;
    bool ok = regSetDword(kLightRoot, LIGHT_PERFORMANCE_KEY, "Visible", s.visible);
    ok = regSetDword(kLightRoot, LIGHT_PERFORMANCE_KEY, "DockArea", uint32_t(s.dockArea)) && ok;
    ok = regSetDword(kLightRoot, LIGHT_PERFORMANCE_KEY, "Floating", s.floating) && ok;
    ok = regSetString(kLightRoot, LIGHT_PERFORMANCE_KEY, "Lighting", optics::environmentKey(s.lighting)) && ok;
    // Kept for an older Brevix sharing these settings: it knows ISO and COS only.
    ok = regSetDword(kLightRoot, LIGHT_PERFORMANCE_KEY, "CosModel", s.lighting == optics::Environment::Cos) && ok;
    ok = regSetDword(kLightRoot, LIGHT_PERFORMANCE_KEY, "Dispersion", s.dispersion) && ok;
    ok = regSetString(kLightRoot, LIGHT_PERFORMANCE_KEY, "Material", s.material) && ok;
    ok = regSetString(kLightRoot, LIGHT_PERFORMANCE_KEY, "Tilt", angleText(s.tiltDegrees)) && ok;
    ok = regSetString(kLightRoot, LIGHT_PERFORMANCE_KEY, "Cone", angleText(s.coneDegrees)) && ok;
    ok = regSetString(kLightRoot, LIGHT_PERFORMANCE_KEY, "HeadShadow", angleText(s.headShadowDegrees)) && ok;
    ok = regSetString(kLightRoot, LIGHT_PERFORMANCE_KEY, "TiltStep", angleText(s.tiltStep)) && ok;
    return ok;
}

}  // namespace brevix
