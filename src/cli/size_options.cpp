#include "cli/size_options.h"

#include <charconv>
#include <cmath>

#include "cli/cli_support.h"
#include "optics/materials.h"
#include "optics/weight_material.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

std::optional<double> parseNumber(const std::string& text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string materialNames() {
    std::string names;
    for (const optics::Material& m : optics::materials()) {
        if (!names.empty()) names += ", ";
        names += m.name;
    }
    return names;
}

}  // namespace

bool takeSizeOptions(std::span<const std::string> args, bool withMaterial, SizeOptions& options,
                     std::vector<std::string>& rest) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            rest.push_back(arg);
            continue;
        }
        std::string name = arg, value;
        if (const size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            reportError(strprintf("%s needs a value", arg.c_str()));
            return false;
        }
        if (name == "--width" || name == "--length") {
            if (options.size) {
                reportError("give the size once: --width MM or --length MM");
                return false;
            }
            const std::optional<double> mm = parseNumber(value);
            if (!mm || *mm < MIN_SIZE_MM || *mm > MAX_SIZE_MM) {
                reportError(strprintf("%s takes millimetres from %g to %g, as 6.5 (not '%s')", name.c_str(),
                                      MIN_SIZE_MM, MAX_SIZE_MM, value.c_str()));
                return false;
            }
            options.size = SizeChoice{name == "--width" ? SizeBasis::Width : SizeBasis::Length, *mm};
        } else if (withMaterial && name == "--material") {
            const std::optional<optics::Material> m = optics::findMaterial(value);
            if (!m) {
                reportError(strprintf("unknown material '%s'; the materials are %s", value.c_str(),
                                      materialNames().c_str()));
                return false;
            }
            options.material = m->name;
        } else if (withMaterial && name == "--sg") {
            const std::optional<double> sg = parseNumber(value);
            if (!sg || *sg < MIN_GRAVITY || *sg > MAX_GRAVITY) {
                reportError(strprintf("--sg takes a specific gravity from %g to %g, as 3.52 (not '%s')",
                                      MIN_GRAVITY, MAX_GRAVITY, value.c_str()));
                return false;
            }
            options.gravity = *sg;
        } else {
            reportError(strprintf("unknown option '%s'", name.c_str()));
            return false;
        }
    }
    if (!options.material.empty() && options.gravity) {
        reportError("give --material NAME or --sg SG, not both");
        return false;
    }
    if (!options.size && (!options.material.empty() || options.gravity)) {
        reportError("the weight needs the size: add --width MM or --length MM");
        return false;
    }
    return true;
}

std::optional<RealSize> realSizeFor(Stone& stone, const SizeOptions& options, bool& failed) {
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
        optics::weightMaterial(options.material, options.gravity.value_or(0), stone.refractiveIndex);
    if (material) return Gravity{material->name, material->specificGravity};
    reportError(strprintf("no listed material has the design's R.I. %.3f: give --material NAME or --sg SG "
                          "for the weight",
                          stone.refractiveIndex));
    return std::nullopt;
}

}  // namespace brevix::cli
