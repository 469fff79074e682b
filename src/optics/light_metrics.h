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
//   enough to see, as a person sees it: on the observed picture, with the
//   viewer's head shadow (the lighting's, or OBSERVER_HEAD_DEGREES when it
//   has none). Without an observer a well-cut stone returns light from
//   every direction over the table and reads as evenly bright; the head's
//   shade is what draws its pattern. The picture is divided into a coarse
//   grid of CONTRAST_GRID x CONTRAST_GRID cells; a cell takes part when at
//   least half of it lies on the stone, and its value is its mean observed
//   score. A cell differs clearly when a neighbour taking part (left,
//   right, above or below) differs from it by CONTRAST_STEP +
//   CONTRAST_RAMP or more; a smaller difference counts in part, rising
//   straight from CONTRAST_STEP - CONTRAST_RAMP (half at CONTRAST_STEP).
//   Contrast is the per cent of the taking part cells that differ clearly:
//   0 for an evenly lit (or evenly dark) stone, high for a bold pattern.
//   The ramp is there because a cell mean moves a little with the
//   picture's size as facet edges fall on other pixels: counted whole or
//   not at all, cells near the step would flip, and the figure would
//   depend on the size of the picture (with the ramp, 128, 256 and 512
//   pixels agree within two points). Cells partly on the stone take part
//   in proportion too (none up to a quarter on it, whole from three
//   quarters).
// - scintillation (over a sweep of small tilts): how much of the pattern
//   switches as the stone moves. The observed pictures of neighbouring
//   tilts are cut into the same cells; a cell on the stone in both
//   switches when its value changes as much as a clear difference of
//   contrast (with the same ramp).
//   Scintillation is the per cent of the cells that switch, averaged over
//   the neighbouring pairs: the flashes a person sees when a stone is
//   rocked, counted on the stone's own area so that it does not depend on
//   the stone's or the picture's size. SCINTILLATION_TILTS is the sweep
//   `brevix-cli light --scintillation` and the pane use.
// - under a room light (ASET, office, spot, dome; their geometry and what
//   each follows are in optics/environment.h): the room's brightness, the
//   contrast and scintillation above judged on the room's own observed
//   picture, and for ASET the share of each zone (SceneFigures below).
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
constexpr double CONTRAST_RAMP = 0.25;
constexpr TiltRange SCINTILLATION_TILTS{-10.0, 10.0, 1.0};

struct LightMetrics {
    double windowing = 0;   // per cent of the area
    double extinction = 0;  // per cent of the area
    double contrast = 0;    // per cent of the coarse cells
};

LightMetrics lightMetrics(const FaceUpImage& image);

// The figures of a picture under a room light (optics/environment.h):
// its brightness, its contrast (as above, on the scene picture with the
// observer's head shadow), and for ASET the share of each zone in per cent
// of the light that entered the stone: red, green and blue, and black for
// the rest (what leaked out below the girdle plane, and the little given up
// inside). All zero for a picture without a room.
struct SceneFigures {
    double brightness = 0, contrast = 0;
    double red = 0, green = 0, blue = 0, black = 0;
};
SceneFigures sceneFigures(const FaceUpImage& image);

// The coarse cells of a picture's observed scores (its ISO scores for a
// picture without them).
struct PatternCells {
    std::vector<double> value;  // mean score of each cell, row by row
    std::vector<uint8_t> on;    // at least half of the cell on the stone
    // How far the cell takes part: none up to a quarter of it on the stone,
    // whole from three quarters, straight between.
    std::vector<double> weight;
};
PatternCells patternCells(const FaceUpImage& image);
// The same of another of its pictures (one value a pixel).
PatternCells patternCells(const FaceUpImage& image, const std::vector<float>& score);
// lightMetrics(image) with the picture's patternCells(image) already worked out.
LightMetrics lightMetrics(const FaceUpImage& image, const PatternCells& cells);
// Per cent of the cells taking part that differ clearly from a neighbour.
double contrastOf(const PatternCells& cells);

// How far a difference of two cell values counts as clear: 0 to 1.
double clearShare(double difference);

// Per cent of the cells on the stone in both pictures that switch.
double switchedShare(const PatternCells& a, const PatternCells& b);

// Per cent; 0 for a picture without the stone.
double fireFigure(const DispersionImage& image);

// The means over the tilts of a sweep.
struct TiltAverages {
    double iso = 0, cos = 0, windowing = 0, extinction = 0, contrast = 0;
    double scintillation = 0;  // of the sweep it was measured on (see TiltSweep)
    // Under the sweep's room light, when it had one.
    double scene = 0, sceneContrast = 0, sceneScintillation = 0;
};
TiltAverages tiltAverages(const std::vector<TiltBrightness>& sweep);

// The figures as a design is judged under one lighting: ISO keeps them as
// they are; under COS its brightness stands for both ISO and COS, and under
// a room its brightness, contrast and scintillation stand for ISO's (both
// brightnesses), while windowing and extinction, which say where light is
// lost whatever the room, stay.
TiltAverages judgedUnder(const TiltAverages& figures, Environment environment);

}  // namespace brevix::optics
