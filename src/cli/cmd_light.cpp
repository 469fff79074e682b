// light FILE [options]: the light performance of a design: its ISO and COS
// brightness face up, optionally over a range of tilts, and the face-up
// picture as a PNG file.
#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "files/replacing_file.h"
#include "optics/light_picture.h"
#include "optics/light_score.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

using namespace brevix::optics;

constexpr const char* ARGUMENTS =
    "FILE [--ri R | --material NAME] [--size N] [--tilt DEG] [--cone DEG] [--head-shadow DEG] "
    "[--model iso|cos] [--out IMAGE.png] [--tilt-sweep FROM:TO:STEP] [--dispersion]";

constexpr int MIN_SIZE = 8, MAX_SIZE = 4096;

int usage() {
    reportError(strprintf("usage: brevix-cli light %s", ARGUMENTS));
    return EXIT_USAGE;
}

std::optional<double> number(const std::string& text) {
    double value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (first == last || ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

// A number option within [low, high]; says what is wrong otherwise.
bool numberIn(const std::string& option, const std::string& text, double low, double high, double& into) {
    const auto value = number(text);
    if (!value || *value < low || *value > high) {
        reportError(strprintf("%s takes a number from %g to %g, not '%s'", option.c_str(), low, high,
                              text.c_str()));
        return false;
    }
    into = *value;
    return true;
}

bool endsWithPng(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".png";
}

struct LightArguments {
    std::string file;
    std::optional<double> ri;
    std::optional<Material> material;
    FaceUpOptions options;
    LightModel model = LightModel::Iso;
    std::string out;
    std::optional<TiltRange> sweep;
    bool dispersion = false;
};

// EXIT_DONE when the arguments make sense.
int parse(std::span<const std::string> args, LightArguments& into) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        if (name == "--dispersion") {
            into.dispersion = true;
            continue;
        }
        if (!name.starts_with("--")) {
            if (!into.file.empty()) return usage();
            into.file = name;
            continue;
        }
        if (const size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else {
            static const char* const TAKES_VALUE[] = {"--ri",    "--material",    "--size",  "--tilt",
                                                      "--cone",  "--head-shadow", "--model", "--out",
                                                      "--tilt-sweep"};
            bool known = false;
            for (const char* option : TAKES_VALUE) known = known || name == option;
            if (!known) {
                reportError(strprintf("unknown option '%s'", name.c_str()));
                return usage();
            }
            if (i + 1 >= args.size()) return usage();
            value = args[++i];
        }
        FaceUpOptions& o = into.options;
        double x = 0;
        if (name == "--ri") {
            if (!numberIn(name, value, 1.01, 3.0, x)) return EXIT_USAGE;
            into.ri = x;
        } else if (name == "--material") {
            into.material = findMaterial(value);
            if (!into.material) {
                std::string names;
                for (const Material& m : materials()) names += (names.empty() ? "" : ", ") + m.name;
                reportError(strprintf("unknown material '%s' (one of: %s)", value.c_str(), names.c_str()));
                return EXIT_USAGE;
            }
        } else if (name == "--size") {
            if (!numberIn(name, value, MIN_SIZE, MAX_SIZE, x)) return EXIT_USAGE;
            if (x != std::floor(x)) {
                reportError("--size takes a whole number of pixels");
                return EXIT_USAGE;
            }
            o.size = static_cast<int>(x);
        } else if (name == "--tilt") {
            if (!numberIn(name, value, -90, 90, o.tiltDegrees)) return EXIT_USAGE;
        } else if (name == "--cone") {
            if (!numberIn(name, value, 1, 90, o.lighting.coneDegrees)) return EXIT_USAGE;
        } else if (name == "--head-shadow") {
            if (!numberIn(name, value, 0, 89, o.lighting.headShadowDegrees)) return EXIT_USAGE;
        } else if (name == "--model") {
            if (value == "iso" || value == "ISO")
                into.model = LightModel::Iso;
            else if (value == "cos" || value == "COS")
                into.model = LightModel::Cos;
            else
                return usage();
        } else if (name == "--out") {
            if (!endsWithPng(value)) {
                reportError(strprintf("%s: the picture is written as .png", value.c_str()));
                return EXIT_USAGE;
            }
            into.out = value;
        } else if (name == "--tilt-sweep") {
            std::string error;
            into.sweep = parseTiltRange(value, error);
            if (!into.sweep) {
                reportError(error);
                return EXIT_USAGE;
            }
        } else {
            reportError(strprintf("unknown option '%s'", name.c_str()));
            return usage();
        }
    }
    if (into.file.empty()) return usage();
    if (into.ri && into.material) {
        reportError("give either --ri or --material, not both");
        return EXIT_USAGE;
    }
    return EXIT_DONE;
}

int runLight(std::span<const std::string> args, std::ostream& out) {
    LightArguments a;
    if (const int code = parse(args, a); code != EXIT_DONE) return code;
    auto stone = loadDesign(a.file);
    if (!stone) return EXIT_FAILED;

    LightSettings settings;
    settings.ri = a.ri;
    settings.material = a.material;
    settings.options = a.options;
    settings.dispersion = a.dispersion;
    settings.sweep = a.sweep;
    const LightScore score = scoreLight(*stone, settings);
    out << "ISO brightness: " << brightnessText(score.image.isoBrightness) << "%\n";
    out << "COS brightness: " << brightnessText(score.image.cosBrightness) << "%\n";
    for (const TiltBrightness& p : score.sweep)
        out << strprintf("%.1f %s%% %s%%\n", p.tiltDegrees, brightnessText(p.iso).c_str(),
                         brightnessText(p.cos).c_str());
    if (!a.out.empty()) {
        const RgbPicture shown = score.colours ? picture(*score.colours, a.model) : picture(score.image, a.model);
        ReplacingFile file(a.out);
        if (file.isOpen()) file.stream() << encodePng(shown);
        if (!file.isOpen() || !file.commit()) {
            reportError(strprintf("Error writing %s. Disk full?", a.out.c_str()));
            return EXIT_FAILED;
        }
    }
    return EXIT_DONE;
}

}  // namespace

extern const Command lightCommand{"light", ARGUMENTS,
                                  "ISO and COS brightness, tilt sweep and face-up picture", 1, runLight,
                                  19};

}  // namespace brevix::cli
