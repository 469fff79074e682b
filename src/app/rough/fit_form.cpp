#include "app/rough/fit_form.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstdio>

namespace brevix::roughfit {

namespace {

// Sizes beyond these are typing slips, not stones: a rough is bought by
// the gram, not by the metre.
constexpr double LARGEST_ROUGH_MM = 1000;

std::string trimmedFitText(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string shapeSpecNumber(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

const char* shapeSpecName(ShapeKind kind) {
    switch (kind) {
    case ShapeKind::Box: return "box";
    case ShapeKind::Cylinder: return "cylinder";
    case ShapeKind::Ellipsoid: return "ellipsoid";
    }
    return "box";
}

}  // namespace

std::vector<std::string> shapeSizeNames(ShapeKind kind) {
    switch (kind) {
    case ShapeKind::Box: return {"Length", "Width", "Height"};
    case ShapeKind::Cylinder: return {"Diameter", "Height"};
    case ShapeKind::Ellipsoid: return {"Length", "Width", "Height"};
    }
    return {};
}

std::optional<double> typedNumber(const std::string& text) {
    std::string number = trimmedFitText(text);
    if (number.empty()) return std::nullopt;
    std::replace(number.begin(), number.end(), ',', '.');
    // strtod alone would take "inf", "nan", hex and trailing words.
    if (number.find_first_not_of("0123456789.+-eE") != std::string::npos) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (errno != 0 || end != number.c_str() + number.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

CheckedShape checkShape(const FitFormText& form) {
    CheckedShape checked;
    const std::vector<std::string> names = shapeSizeNames(form.shape);
    std::string shapeText = std::string(shapeSpecName(form.shape)) + ":";
    for (size_t i = 0; i < names.size(); ++i) {
        const std::optional<double> size = typedNumber(form.shapeSizes[i]);
        if (!size || *size <= 0 || *size > LARGEST_ROUGH_MM) {
            checked.problems.push_back(names[i] + ": type the rough's size in millimetres, above 0 and up to 1000.");
            continue;
        }
        shapeText += (i ? "x" : "") + shapeSpecNumber(*size);
    }
    if (checked.problems.empty()) checked.shapeText = shapeText;
    return checked;
}

CheckedOptions checkFitOptions(const FitFormText& form) {
    CheckedOptions checked;
    const std::string marginText = trimmedFitText(form.margin);
    const std::optional<double> margin = marginText.empty() ? std::optional(0.0) : typedNumber(marginText);
    if (!margin || *margin < 0 || *margin > LARGEST_ROUGH_MM)
        checked.problems.push_back("Margin: type the millimetres to keep from the rough's surface, 0 or more.");
    else
        checked.options.marginMm = *margin;

    for (size_t i = 0; i < form.avoid.size(); ++i) {
        const AvoidRowText& row = form.avoid[i];
        const std::string which = "Sphere " + std::to_string(i + 1) + ": ";
        const std::optional<double> x = typedNumber(row.x), y = typedNumber(row.y),
                                    z = typedNumber(row.z), r = typedNumber(row.radius);
        if (!x || !y || !z) {
            checked.problems.push_back(which + "type the centre's x, y and z in millimetres.");
            continue;
        }
        if (!r || *r <= 0 || *r > LARGEST_ROUGH_MM) {
            checked.problems.push_back(which + "type a radius in millimetres, above 0.");
            continue;
        }
        checked.options.avoid.push_back({Vec3{*x, *y, *z}, *r});
    }
    return checked;
}

}  // namespace brevix::roughfit
