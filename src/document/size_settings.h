#pragma once
// What Stone > Size and Weight remembers from one run to the next, below
// HKEY_CURRENT_USER\Software\Brevix\SizeWeight: the size typed last (width
// or length in millimetres), the material or the typed gravity, and whether
// the printed diagram carries the size and weight lines.
#include <string>

#include "design/real_size.h"

namespace brevix {

struct SizeSettings {
    SizeChoice size;            // 0 mm until the user has typed a size
    std::string material;       // a material of the table; "" for a typed gravity
    double specificGravity = 0; // the typed gravity (0: none)
    bool printWeight = false;   // off: the printed page stays as it always was
    friend bool operator==(const SizeSettings&, const SizeSettings&) = default;
};

// Stored values out of range or of the wrong type fall back to the defaults
// above, one by one.
SizeSettings loadSizeSettings();
// False when the key cannot be written.
bool saveSizeSettings(const SizeSettings& settings);

inline constexpr const char* SIZE_WEIGHT_KEY = "Software\\Brevix\\SizeWeight";

}  // namespace brevix
