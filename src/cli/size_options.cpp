#include "cli/size_options.h"

#include <utility>

#include "cli/cli_support.h"
#include "cli/options.h"
#include "optics/weight_material.h"
#include "platform/strformat.h"

namespace brevix::cli {

void addSizeOptions(CLI::App& app, SizeOptions& options, bool withMaterial) {
    constexpr NumberRule MILLIMETRES{MIN_SIZE_MM, MAX_SIZE_MM, "millimetres", "6.5"};
    for (const auto& choice : {std::pair{"--width", SizeBasis::Width}, {"--length", SizeBasis::Length}}) {
        // A structured binding cannot be captured by every compiler we build with (clang 14).
        const char* name = choice.first;
        const SizeBasis basis = choice.second;
        addNumber(app, name, std::string("the stone's ") + (basis == SizeBasis::Width ? "width" : "length") +
                                 " in millimetres", MILLIMETRES,
                  [&options, basis](double mm) {
                      if (options.size) throw UsageError("give the size once: --width MM or --length MM");
                      options.size = SizeChoice{basis, mm};
                  })
            ->type_name("MM");
    }
    if (!withMaterial) return;
    addMaterial(app, "--material", "the material, for the weight", options.material);
    addNumber(app, "--sg", "the specific gravity, for the weight",
              {MIN_GRAVITY, MAX_GRAVITY, "a specific gravity", "3.52"}, options.gravity)
        ->type_name("SG");
}

void checkSizeOptions(const SizeOptions& options) {
    if (options.material && options.gravity) throw UsageError("give --material NAME or --sg SG, not both");
    if (!options.size && (options.material || options.gravity))
        throw UsageError("the weight needs the size: add --width MM or --length MM");
}

std::optional<RealSize> realSizeFor(const Stone& stone, const SizeOptions& options, bool& failed) {
    failed = false;
    if (!options.size) return std::nullopt;
    std::optional<RealSize> size = realSizeOf(stone, options.size->basis, options.size->millimetres);
    if (!size) {
        reportError("the design has no width or length to size it by");
        failed = true;
    }
    return size;
}

std::optional<Gravity> gravityFor(const Stone& stone, const SizeOptions& options) {
    const std::optional<optics::WeightMaterial> material =
        optics::weightMaterial(options.material ? options.material->name : std::string(),
                              options.gravity.value_or(0), stone.refractiveIndex);
    if (material) return Gravity{material->name, material->specificGravity};
    reportError(strprintf("no listed material has the design's R.I. %.3f: give --material NAME or --sg SG "
                          "for the weight",
                          stone.refractiveIndex));
    return std::nullopt;
}

}  // namespace brevix::cli
