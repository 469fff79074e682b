#pragma once
// The Light Performance pane's lines of figures under a room, as plain
// text. Qt-free.
#include <optional>
#include <string>

#include "optics/environment.h"
#include "optics/light_metrics.h"
#include "optics/tilt_sweep.h"

namespace brevix {

// "ASET brightness 59.3%, contrast 41.0%, scintillation 12.0%", and for ASET
// a second line with the zones' shares: "Red 46.4%, green 12.9%, blue 3.0%,
// black 37.7%". Scintillation only once measured. Empty without a room.
std::string sceneFiguresText(optics::Environment lighting, const optics::SceneFigures& figures,
                             std::optional<double> scintillation);

// "Mean over the tilts: ISO 71.2%, COS 60.4%", with the room's own mean
// after them under a room (", Spot 48.0%").
std::string tiltMeanText(optics::Environment lighting, const optics::TiltSweep& sweep);

}  // namespace brevix
