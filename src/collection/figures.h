#pragma once
// What a collection knows of one design: its tile facts (heading, facets,
// gear, symmetry, L/W) and its light figures in one material, or why it
// could not be read.
#include <optional>
#include <string>
#include <vector>

#include "optics/light_score.h"

namespace brevix {
class Stone;
}

namespace brevix::collection {

struct DesignFacts {
    std::string heading;    // the heading's first line (UTF-8)
    int facets = 0;         // cut facets, the rough block's not counted
    int gear = 0;
    int symmetry = 0;
    int mirror = 0;
    double lengthWidth = -1;  // -1 when undefined
};

DesignFacts factsOf(const Stone& stone);

struct LightFigures {
    std::string material;   // the material's name ("Diamond", "RI 1.700")
    double refractiveIndex = 0;
    double iso = 0, cos = 0;  // per cent
    double windowing = 0, extinction = 0, contrast = 0;  // per cent (optics/light_metrics.h)
    std::optional<double> scintillation;                 // when asked
    std::vector<optics::TiltBrightness> sweep;
    // Under a room light (its key, "" for none): its figures, and its
    // scintillation when asked; the sweep's points carry its brightness
    // and contrast.
    std::string lighting = {};
    std::optional<optics::SceneFigures> scene = {};
    std::optional<double> sceneScintillation = {};
};

struct DesignFigures {
    std::string file;       // the entry's id
    std::string error;      // not empty: nothing else is known
    std::string warning;    // read with problems; the figures are of what was read
    DesignFacts facts;
    // The texts of the design-figures warnings (UTF-8), as `brevix-cli
    // figures` prints them after "Warning: ".
    std::vector<std::string> warnings;
    std::optional<LightFigures> light;
    bool fromCache = false;

    bool ok() const { return error.empty(); }
};

}  // namespace brevix::collection
