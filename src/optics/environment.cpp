#include "optics/environment.h"

#include <algorithm>
#include <cmath>

#include "kernel/geometry.h"

namespace brevix::optics {

namespace {

struct Named {
    Environment environment;
    const char* key;
    const char* label;
};
constexpr Named NAMES[] = {{Environment::Iso, "iso", "ISO"},          {Environment::Cos, "cos", "COS"},
                           {Environment::Aset, "aset", "ASET"},       {Environment::Office, "office", "Office"},
                           {Environment::Spot, "spot", "Spot"},       {Environment::Dome, "dome", "Dome"}};

const Named& named(Environment environment) {
    for (const Named& n : NAMES)
        if (n.environment == environment) return n;
    return NAMES[0];
}

// A disc `acrossDegrees` wide whose centre is `fromVertical` degrees from
// the vertical, at `azimuth` degrees from +x toward +y.
LightSource disc(double fromVertical, double azimuth, double acrossDegrees, double radiance) {
    const double t = fromVertical / DEG_PER_RAD, a = azimuth / DEG_PER_RAD;
    return {std::sin(t) * std::cos(a), std::sin(t) * std::sin(a), std::cos(t),
            std::cos(0.5 * acrossDegrees / DEG_PER_RAD), radiance};
}

// The mean over the upper hemisphere of the dome's (1 + 2 z) / 3.
constexpr double DOME_MEAN = 2.0 / 3.0;
// The ISO cone's mean over the upper hemisphere: 1 - cos 60.
constexpr double ISO_MEAN = 0.5;

}  // namespace

const char* environmentKey(Environment environment) { return named(environment).key; }
const char* environmentLabel(Environment environment) { return named(environment).label; }

std::optional<Environment> environmentFromKey(const std::string& key) {
    for (const Named& n : NAMES)
        if (key == n.key) return n.environment;
    return std::nullopt;
}

std::optional<std::vector<Environment>> parseEnvironments(const std::string& text, std::string& error) {
    std::vector<Environment> out;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::optional<Environment> e = environmentFromKey(name);
        if (!e) {
            error = "'" + name + "' is not a lighting (iso, cos, aset, office, spot or dome)";
            return std::nullopt;
        }
        if (std::find(out.begin(), out.end(), *e) != out.end()) {
            error = "the lighting " + name + " is named twice";
            return std::nullopt;
        }
        out.push_back(*e);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return out;
}

std::vector<LightSource> roomSources(Environment environment) {
    std::vector<LightSource> sources;
    if (environment == Environment::Office) {
        sources = {disc(20, 90, 30, 1.0), disc(40, 270, 25, 1.0), disc(50, 180, 25, 1.0), disc(65, 0, 35, 0.6)};
    } else if (environment == Environment::Spot) {
        // Even in solid angle between 5 and 75 degrees from the vertical:
        // equal steps of z, each turned a golden angle from the last. The
        // sizes run through 2 to 10 degrees by the golden ratio, so that
        // neighbours differ.
        const double zTop = std::cos(5.0 / DEG_PER_RAD), zBottom = std::cos(75.0 / DEG_PER_RAD);
        const double golden = 180.0 * (3.0 - std::sqrt(5.0));
        for (int i = 0; i < SPOT_SOURCES; ++i) {
            const double z = zTop - (i + 0.5) / SPOT_SOURCES * (zTop - zBottom);
            const double across = 2.0 + 8.0 * std::fmod(i * 0.6180339887498949, 1.0);
            sources.push_back(disc(std::acos(z) * DEG_PER_RAD, std::fmod(i * golden, 360.0), across, 1.0));
        }
    }
    return sources;
}

RoomLight::RoomLight(Environment environment) : sources_(roomSources(environment)) {
    // The mean radiance over the upper hemisphere (2 pi steradians): each
    // disc adds its solid angle 2 pi (1 - cos r) times its radiance.
    double mean = 0;
    if (environment == Environment::Dome) {
        sky_ = 1.0 / 3.0;
        mean = DOME_MEAN;
    }
    if (environment == Environment::Office) {
        surround_ = OFFICE_SURROUND;
        mean = OFFICE_SURROUND;
    }
    for (const LightSource& s : sources_) mean += (1.0 - s.cosRadius) * s.radiance;
    scale_ = mean > 0 ? ISO_MEAN / mean : 1.0;
    surround_ *= scale_;
    sky_ *= scale_;

    // Every direction within angle r of a centre c lies within the chord
    // 2 sin(r / 2) of it, and so do its x and y: a disc goes into every
    // cell that box touches.
    std::vector<std::vector<int>> cells(GRID * GRID);
    for (size_t i = 0; i < sources_.size(); ++i) {
        const LightSource& s = sources_[i];
        discs_.push_back({s.x, s.y, s.z, s.cosRadius, s.radiance * scale_});
        const double chord = std::sqrt(2.0 * (1.0 - s.cosRadius)) + 1e-9;
        for (int r = slot(s.y - chord); r <= slot(s.y + chord); ++r)
            for (int c = slot(s.x - chord); c <= slot(s.x + chord); ++c) cells[r * GRID + c].push_back(static_cast<int>(i));
    }
    cellStart_.push_back(0);
    for (const std::vector<int>& cell : cells) {
        cellSources_.insert(cellSources_.end(), cell.begin(), cell.end());
        cellStart_.push_back(static_cast<int>(cellSources_.size()));
    }
}

}  // namespace brevix::optics
