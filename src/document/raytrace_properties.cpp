#include "document/raytrace_properties.h"

#include <cmath>

#include "facet_placement/cut_facet_form.h"
#include "kernel/geometry.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

constexpr const char* const CHOICES[] = {
    "1.43  Fluorite", "1.45  Opal",     "1.54  Quartz",         "1.58  Beryl",
    "1.61  Topaz",    "1.62  Tourmaline", "1.65  Peridot",      "1.72  Spinel",
    "1.76  Corundum", "1.81  Zircon",   "1.83  YAG",            "2.02  GGG",
    "2.16  Cubic Zirconia", "2.42  Diamond", "2.62  Rutile",    "2.65  Moissanite",
};

constexpr const char* INDEX_NOT_ABOVE_ONE = "Refractive index should be above 1";

}  // namespace

std::span<const char* const> refractiveIndexChoices() { return CHOICES; }

std::string refractiveIndexText(double refractiveIndex) {
    return strprintf("%.3f", refractiveIndex);
}

std::string criticalAngleText(double refractiveIndex) {
    // An index of 1 or less has no critical angle: light never stays inside.
    if (!(refractiveIndex >= 1) || !std::isfinite(refractiveIndex)) return {};
    return strprintf("%.2f\xB0", std::asin(1 / refractiveIndex) * DEG_PER_RAD);
}

RaytraceFieldTexts RaytraceProperties::showing(RaytraceFieldTexts texts) {
    if (texts.angle) angleShown_ = *texts.angle;
    return texts;
}

RaytraceFieldTexts RaytraceProperties::load(double refractiveIndex) {
    index = refractiveIndex;
    return showing({refractiveIndexText(index), criticalAngleText(index)});
}

RaytraceFieldTexts RaytraceProperties::indexChanged(std::string_view text) {
    if (updating) return {};
    if (const std::optional<double> r = scanDouble(text)) index = *r;
    return showing({std::nullopt, criticalAngleText(index)});
}

RaytraceFieldTexts RaytraceProperties::indexLeft(std::string_view text) {
    if (updating) return {};
    const std::optional<double> r = scanDouble(text);
    if (!r || *r < MIN_TYPED_INDEX || *r > MAX_TYPED_INDEX) return showing({std::nullopt, std::string()});
    index = *r;
    return showing({std::nullopt, criticalAngleText(index)});
}

RaytraceFieldTexts RaytraceProperties::angleChanged(std::string_view text) {
    if (updating) return {};
    const std::optional<double> degrees = scanDouble(text);
    if (!degrees || *degrees < MIN_CRITICAL_ANGLE || *degrees > MAX_CRITICAL_ANGLE)
        return {std::string(), std::nullopt};
    index = 1 / std::sin(*degrees / DEG_PER_RAD);
    return {refractiveIndexText(index), std::nullopt};
}

RaytraceFieldTexts RaytraceProperties::angleLeft(std::string_view text) {
    if (updating) return {};
    // Passing through the field without typing leaves the index as it was.
    if (text == angleShown_) return {};
    const std::optional<double> degrees = scanDouble(text);
    if (!degrees) return angleChanged(text);
    // The field is tidied first and the index follows what it then shows.
    const std::string tidy = strprintf("%.2f\xB0", *degrees);
    RaytraceFieldTexts shown = angleChanged(tidy);
    shown.angle = tidy;
    return showing(shown);
}

std::optional<double> RaytraceProperties::indexOnOk(Diagnostics& notes) const {
    // The change handlers take any number typed; one that is not above 1
    // (or not a number at all) would bend light nonsensically.
    if (!(index > 1) || !std::isfinite(index)) {
        notes.warning(DiagCode::DocIndexNotAboveOne, INDEX_NOT_ABOVE_ONE);
        return std::nullopt;
    }
    return index;
}

}  // namespace brevix
