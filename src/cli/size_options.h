#pragma once
// The real-size options shared by info, json and convert: the width or the
// length in millimetres and, for the weight, a material or a gravity.
#include <optional>
#include <string>

#include "cli/command.h"
#include "design/real_size.h"
#include "kernel/stone.h"
#include "optics/materials.h"

namespace brevix::cli {

struct SizeOptions {
    std::optional<SizeChoice> size;            // --width MM or --length MM
    std::optional<optics::Material> material;  // --material NAME
    std::optional<double> gravity;             // --sg SG
};

// "--width MM | --length MM" and, when `withMaterial`, "--material NAME |
// --sg SG", read into `options`, which must outlive `app`.
void addSizeOptions(CLI::App& app, SizeOptions& options, bool withMaterial);
// Throws a UsageError when the options do not go together.
void checkSizeOptions(const SizeOptions& options);

// The real size the options ask for, or nothing when they ask for none.
// `failed` is set (after saying why) when the stone has no width to size by.
std::optional<RealSize> realSizeFor(const Stone& stone, const SizeOptions& options, bool& failed);

// The gravity and its material's name for the weight: the named material,
// the typed gravity, or the listed material of the stone's refractive
// index. Nothing (after saying why) when none of them gives one.
struct Gravity {
    std::string material;  // "" for a typed gravity
    double specificGravity = 0;
};
std::optional<Gravity> gravityFor(const Stone& stone, const SizeOptions& options);

}  // namespace brevix::cli
