#pragma once
// What a design file holds, as read and before anything is cut: the design
// settings, the facet planes in file order and the notes reading made. The
// readers only read into it; buildStone (build_stone.h) cuts it. Because a
// cut the kernel cannot make ends a design at that plane, everything the
// reader found is kept with the plane it came before, so that the stone
// built says exactly what a reader that cut as it went would have said.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/diagnostics.h"
#include "platform/diag_codes.h"

namespace brevix {

class Stone;

// The settings a design carries besides its planes; the defaults are a
// fresh stone's.
struct DesignSettings {
    int32_t gear = 96;
    double indexOffset = 0;
    double refractiveIndex = 1.54;
    int32_t symmetry = 8;
    int32_t mirror = 1;
    std::array<std::string, 4> heading;
    std::array<std::string, 4> footnote;

    bool operator==(const DesignSettings&) const = default;
};

DesignSettings settingsOf(const Stone& stone);
void applySettings(Stone& stone, const DesignSettings& settings);

struct FacetPlane {
    // The binary format stores the plane itself; the text format an angle,
    // a depth and an index, which give the cut by azimuth.
    enum Form { Plane, Angle } form = Plane;
    double a = 0, b = 0, c = 0, d = 0;          // Plane
    double azimuth = 0, tilt = 0, depth = 0;    // Angle (radians, signed depth)
    double angle = 0, index = 0;                // Angle: as written (degrees, index)
    int32_t tier = 0;
    std::string name;         // "" = none
    std::string instruction;  // "" = none
};

// A note of reading, given just before plane `atPlane` is cut (after the
// last plane when it equals the number of planes).
struct ReadNote {
    size_t atPlane = 0;
    Diagnostic note;
};

// A note given once after the planes, counting events of one kind (the
// format has one %d for the count, or none). Only the events before a cut
// that ended the design count: reading never reached the others.
struct ReadTally {
    DiagKind kind = DiagKind::Warning;
    DiagCode code{};
    std::string format;
    std::vector<size_t> atPlane;
};

// The settings as they stood when reading reached plane `atPlane`.
struct SettingsStage {
    size_t atPlane = 0;
    DesignSettings settings;
};

struct DesignRecord {
    // In order; the last one reached is the design's. None when the file
    // ended before it gave any (the stone keeps its own).
    std::vector<SettingsStage> stages;
    std::vector<FacetPlane> planes;
    std::vector<ReadNote> notes;
    std::vector<ReadTally> tallies;
    // The text format gives an instruction to its tier: it lands on the
    // tier's latest facet even when the plane it follows made none. In the
    // binary format each plane's texts belong to that plane's facet only.
    bool instructionsFollowTier = false;
    // The text format keeps no preform: it is taken to be the stone before
    // the first cut that wiped out a facet.
    bool preformFromFirstLoss = false;
    // The binary format's stored preform, read after the design.
    std::unique_ptr<DesignRecord> preform;

    // The settings the design ends with (the last stage), or `fallback`.
    DesignSettings settings(const DesignSettings& fallback = {}) const {
        return stages.empty() ? fallback : stages.back().settings;
    }
};

}  // namespace brevix
