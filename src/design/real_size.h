#pragma once
// The stone at a real size: the design's figures are ratios to its width,
// but a cutter at the machine and a jeweller setting the stone work in
// millimetres and carats. Given the width or the length in millimetres, this
// gives the length, width and height, the table and culet sizes and the
// volume in millimetres, and the weight in carats for a specific gravity.
//
// Kept with the statistics rather than with the material table: it needs
// only a number for the gravity, so the exports and the document, which do
// not know materials, can use the same scale.
#include <optional>
#include <string>

#include "kernel/stone.h"

namespace brevix {

// Which measure the typed millimetres fix.
enum class SizeBasis { Width, Length };

// The size a user asked for; 0 mm when none was given.
struct SizeChoice {
    SizeBasis basis = SizeBasis::Width;
    double millimetres = 0;
    friend bool operator==(const SizeChoice&, const SizeChoice&) = default;
};

// A flat (top x bottom) extent in millimetres; zero when there is none.
struct FlatSize {
    double length = 0, width = 0;  // length >= width
    bool present() const { return length > 0 || width > 0; }
};

struct RealSize {
    double millimetresPerUnit = 0;         // the scale from design units
    double length = 0, width = 0, height = 0;  // L x W x H, mm
    FlatSize table, culet;                 // mm
    double volume = 0;                     // mm^3
};

// Sizes a stone may be given, in millimetres: a speck to a paperweight.
constexpr double MIN_SIZE_MM = 0.01;
constexpr double MAX_SIZE_MM = 10000;
// Gravities a material may have: below water's tenth nothing is solid, above
// 25 nothing exists.
constexpr double MIN_GRAVITY = 0.1;
constexpr double MAX_GRAVITY = 25;

// The stone with its width (or length) at `millimetres`. Nothing for a
// stone with a flat outline or a size outside the limits above. Updates
// the stone's Stats block.
std::optional<RealSize> realSizeOf(const Stone& stone, SizeBasis basis, double millimetres);

// Carats of `volumeMm3` cubic millimetres at a specific gravity (g/cm3):
// a cubic millimetre weighs SG milligrams and a carat is 200 mg.
inline double caratsOf(double volumeMm3, double specificGravity) {
    return volumeMm3 * specificGravity / 200;
}

// The lines the command line prints and the dialog shows ("mm3" with the
// superscript three as UTF-8):
//   "Size: 6.50 x 6.50 x 3.86 mm"
//   "Volume: 54.37 mm³"
//   "Weight: 0.957 ct (Diamond, SG 3.52)" or, without a material name,
//   "Weight: 0.957 ct (SG 3.52)"
std::string sizeLine(const RealSize& size);
std::string volumeLine(const RealSize& size);
std::string weightLine(const RealSize& size, const std::string& material, double specificGravity);

}  // namespace brevix
