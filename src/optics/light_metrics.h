#pragma once
// Figures of a face-up picture beyond its brightness, for judging how a
// stone looks rather than only how much light it returns:
//
// - windowing: per cent of the stone's face-up area through which the viewer
//   sees out of the pavilion. A pixel is a window when more than half of the
//   light that entered it leaves below the girdle plane.
// - extinction: per cent of the area that returns less than a quarter of the
//   lit value (an ISO score below 0.25): the dark parts of the picture,
//   windows included.
// - contrast: how much of the stone shows a pattern of light and dark big
//   enough to see. The picture is divided into a coarse grid of
//   CONTRAST_GRID x CONTRAST_GRID cells; a cell takes part when at least
//   half of it lies on the stone, and its value is its mean ISO score. A
//   cell differs clearly when a neighbour taking part (left, right, above
//   or below) differs from it by CONTRAST_STEP or more. Contrast is the per
//   cent of the taking part cells that differ clearly: 0 for an evenly lit
//   (or evenly dark) stone, high for a bold pattern of bright and dark.
// - fire (with dispersion only): the mean, over the stone, of the spread
//   between the brightest and the dimmest of the three colour pictures at
//   each pixel (ISO scores), in per cent: light split into colour.
#include <vector>

#include "optics/dispersion.h"
#include "optics/face_up.h"
#include "optics/tilt_sweep.h"

namespace brevix::optics {

constexpr double WINDOW_SHARE = 0.5;
constexpr double EXTINCTION_LEVEL = 0.25;
constexpr int CONTRAST_GRID = 16;
constexpr double CONTRAST_STEP = 0.25;

struct LightMetrics {
    double windowing = 0;   // per cent of the area
    double extinction = 0;  // per cent of the area
    double contrast = 0;    // per cent of the coarse cells
};

LightMetrics lightMetrics(const FaceUpImage& image);

// Per cent; 0 for a picture without the stone.
double fireFigure(const DispersionImage& image);

// The means over the tilts of a sweep.
struct TiltAverages {
    double iso = 0, cos = 0, windowing = 0, extinction = 0, contrast = 0;
};
TiltAverages tiltAverages(const std::vector<TiltBrightness>& sweep);

}  // namespace brevix::optics
