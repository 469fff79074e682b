#pragma once
// Brightness as the stone tilts about the x axis under the fixed viewer and
// lighting: how it looks as it moves on a hand or in a ring.
#include <optional>
#include <string>
#include <vector>

#include "optics/face_up.h"

namespace brevix::optics {

struct TiltRange {
    double from = -30.0, to = 30.0, step = 5.0;  // degrees
};

// The tilts of a range, from `from` up to `to` inclusive; none when the
// range is empty or asks for more than MAX_TILTS.
constexpr int MAX_TILTS = 3601;
std::vector<double> tiltsOf(const TiltRange& range);

struct TiltBrightness {
    double tiltDegrees = 0;
    double iso = 0, cos = 0;  // per cent
    double windowing = 0, extinction = 0, contrast = 0;  // per cent (optics/light_metrics.h)
    double scene = 0, sceneContrast = 0;  // under the room light, when there is one
};

struct TiltSweep {
    std::vector<TiltBrightness> points;
    double meanIso = 0, meanCos = 0;
    // Per cent of the pattern that switches between neighbouring tilts,
    // averaged over them (optics/light_metrics.h); 0 with one tilt.
    double scintillation = 0;
    double sceneScintillation = 0;  // the same under the room light, when there is one
    bool complete = true;
};

// Renders each tilt of the range at options.size (options.tiltDegrees is
// not used).
TiltSweep sweepTilts(const Stone& stone, const FaceUpOptions& options, const TiltRange& range);

// "FROM:TO:STEP" in degrees; none (with the reason in `error`) when it does
// not parse or gives no tilt.
std::optional<TiltRange> parseTiltRange(const std::string& text, std::string& error);

}  // namespace brevix::optics
