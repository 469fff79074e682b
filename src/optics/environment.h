#pragma once
// The rooms a stone is judged in. ISO and COS are the plain lit cone of
// lighting.h; the others are rendered with a picture of their own beside
// the ISO one (FaceUpImage::scene):
//
// - ASET (after the Angular Spectrum Evaluation Tool of the American Gem
//   Society's laboratory, whose pictures graders read): each
//   pixel is coloured by where its light comes from, measured from the
//   girdle plane. Red: 45 to 90 degrees above it; green: 0 to 45 degrees;
//   blue: the observer's own obstruction (the directions the viewer's head
//   shades, the lighting's head shadow or OBSERVER_HEAD_DEGREES), whatever
//   the height; black: light leaking out below the girdle plane, and the
//   little given up inside the stone. Its brightness is red + green: the
//   light returned from above that the viewer does not block.
// - office: four large extended sources on a dark surround (radiance 0.02
//   of a panel's): ceiling panels toward the top and the bottom of the
//   picture, 30 and 25 degrees across at 20 and 40 degrees from the
//   vertical, a panel to the left, 25 degrees across at 50 degrees, and a
//   window to the right, 35 degrees across at 65 degrees and at 0.6 of the
//   panels' radiance: the few broad fittings of an office or a shop
//   counter.
// - spot: 60 small sources, 2 to 10 degrees across, spread evenly (a golden
//   angle spiral) from 5 to 75 degrees from the vertical on a black
//   surround: a chandelier or the spot lights of a jeweller's window, the
//   light in which a stone scintillates.
// - dome: daylight under an overcast sky, the CIE standard overcast sky
//   (Moon and Spencer, 1942; sky type 1 of CIE S 011): radiance
//   (1 + 2 cos z) / 3 at z degrees from the zenith, so the horizon is a
//   third as bright as the zenith.
//
// Office and spot follow no published standard: they are the two kinds of
// shop and room light cutters describe (a few broad fittings; many small
// bright ones), laid out here so that the figures can be repeated.
//
// Every room is fixed with the viewer (the stone tilts under it), dark below
// the horizontal, and, as for ISO, gives nothing from below the girdle plane
// (the hand or the setting) nor from the lighting's head shadow. The rooms'
// radiance is scaled so that its mean over the upper hemisphere equals the
// ISO cone's (1 within DEFAULT_CONE_DEGREES of the vertical): a stone
// returning light evenly from above reads about as bright in each, and the
// figures of different rooms can be weighed against each other.
#include <optional>
#include <string>
#include <vector>

namespace brevix::optics {

enum class Environment { Iso, Cos, Aset, Office, Spot, Dome };

constexpr Environment ALL_ENVIRONMENTS[] = {Environment::Iso,    Environment::Cos,  Environment::Aset,
                                            Environment::Office, Environment::Spot, Environment::Dome};

// "iso", "cos", "aset", "office", "spot", "dome": the command line's names.
const char* environmentKey(Environment environment);
std::optional<Environment> environmentFromKey(const std::string& key);
// How reports and the window name it: "ISO", "COS", "ASET", "Office", "Spot", "Dome".
const char* environmentLabel(Environment environment);

// Rendered with a picture of its own (not the ISO or COS picture).
inline bool hasScene(Environment environment) {
    return environment != Environment::Iso && environment != Environment::Cos;
}

// "iso,spot,office": one or more names, each once; none (with the reason in
// `error`) otherwise.
std::optional<std::vector<Environment>> parseEnvironments(const std::string& text, std::string& error);

// A disc of light in the room: the unit direction of its centre in the
// viewer's frame (+z toward the viewer), the cosine of its angular radius
// and its radiance before scaling.
struct LightSource {
    double x = 0, y = 0, z = 1;
    double cosRadius = 1;
    double radiance = 1;
};

constexpr double ASET_RED_DEGREES = 45.0;
constexpr double OFFICE_SURROUND = 0.02;
constexpr int SPOT_SOURCES = 60;

// The radiance of the office, spot and dome rooms in each direction.
class RoomLight {
public:
    explicit RoomLight(Environment environment);

    // The scaled radiance toward the unit direction (x, y, z) of the viewer's
    // frame; 0 below the horizontal.
    double radiance(double x, double y, double z) const {
        if (z <= 0.0) return 0.0;
        double value = surround_ + sky_ * (1.0 + 2.0 * z);
        const int cell = cellOf(x, y);
        for (int k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
            const Disc& s = discs_[cellSources_[k]];
            if (x * s.x + y * s.y + z * s.z >= s.cosRadius) value += s.radiance;
        }
        return value;
    }

    const std::vector<LightSource>& sources() const { return sources_; }
    // What the radiance was multiplied by.
    double scale() const { return scale_; }

private:
    // The sources are looked up in a grid over the directions' x and y, so
    // that a direction is tested only against the few sources near it.
    static constexpr int GRID = 16;
    static int slot(double v) {
        const int i = static_cast<int>((v + 1.0) * 0.5 * GRID);
        return i < 0 ? 0 : i >= GRID ? GRID - 1 : i;
    }
    static int cellOf(double x, double y) { return slot(y) * GRID + slot(x); }
    struct Disc {
        double x, y, z, cosRadius, radiance;  // radiance scaled
    };
    std::vector<LightSource> sources_;
    std::vector<Disc> discs_;
    std::vector<int> cellStart_, cellSources_;
    double surround_ = 0, sky_ = 0, scale_ = 1;
};

// The sources of a room (none for ISO, COS, ASET and dome).
std::vector<LightSource> roomSources(Environment environment);

}  // namespace brevix::optics
