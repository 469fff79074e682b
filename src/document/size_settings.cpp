#include "document/size_settings.h"

#include <cmath>

#include "files/c_numbers.h"
#include "platform/number_parse.h"
#include "platform/registry.h"

namespace brevix {

namespace {

constexpr RegRoot kRoot = RegRoot::CurrentUser;

// Numbers are stored as text so that a millimetre figure keeps its decimals
// (the store knows whole numbers and strings only).
double storedNumber(const char* name, double low, double high) {
    const std::optional<std::string> text = regGetString(kRoot, SIZE_WEIGHT_KEY, name);
    if (!text) return 0;
    // The whole text must be the number: "6,5" is not 6.
    const std::optional<double> read = wholeNumber(*text, false);
    if (!read) return 0;
    const double value = *read;
    return std::isfinite(value) && value >= low && value <= high ? value : 0;
}

std::string numberText(double value) {
    std::string text;
    appendShortest(text, value);
    return text;
}

}  // namespace

SizeSettings loadSizeSettings() {
    SizeSettings s;
    if (const auto basis = regGetDword(kRoot, SIZE_WEIGHT_KEY, "Basis"); basis && *basis == 1)
        s.size.basis = SizeBasis::Length;
    s.size.millimetres = storedNumber("Millimetres", MIN_SIZE_MM, MAX_SIZE_MM);
    if (const auto material = regGetString(kRoot, SIZE_WEIGHT_KEY, "Material")) s.material = *material;
    s.specificGravity = storedNumber("Gravity", MIN_GRAVITY, MAX_GRAVITY);
    if (const auto print = regGetDword(kRoot, SIZE_WEIGHT_KEY, "PrintWeight")) s.printWeight = *print != 0;
    return s;
}

bool saveSizeSettings(const SizeSettings& s) {
    bool ok = regSetDword(kRoot, SIZE_WEIGHT_KEY, "Basis", s.size.basis == SizeBasis::Length ? 1 : 0);
    ok = regSetString(kRoot, SIZE_WEIGHT_KEY, "Millimetres", numberText(s.size.millimetres)) && ok;
    ok = regSetString(kRoot, SIZE_WEIGHT_KEY, "Material", s.material) && ok;
    ok = regSetString(kRoot, SIZE_WEIGHT_KEY, "Gravity", numberText(s.specificGravity)) && ok;
    ok = regSetDword(kRoot, SIZE_WEIGHT_KEY, "PrintWeight", s.printWeight ? 1 : 0) && ok;
    return ok;
}

}  // namespace brevix
