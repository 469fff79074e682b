#pragma once
// The face-up picture of a stone: an orthographic viewer looks straight
// down on the table; for every pixel a ray enters the stone and is followed
// through refraction, Fresnel reflection and total internal reflection,
// splitting its energy at every surface, and every part that leaves is
// scored by the lighting in the direction it leaves.
#include <atomic>
#include <cstdint>
#include <vector>

#include "optics/exit_hints.h"
#include "optics/lighting.h"

namespace brevix {
class Stone;
}

namespace brevix::optics {

// A path is given up when what is left of it falls below this share of the
// light that entered the pixel, or after this many internal reflections.
constexpr double MIN_PATH_ENERGY = 0.01;
constexpr int MAX_INTERNAL_BOUNCES = 20;

struct FaceUpOptions {
    int size = 512;                // pixels a side (the picture is square)
    double tiltDegrees = 0.0;      // the stone turns about the x axis under the fixed viewer
    double refractiveIndex = 1.54;
    Lighting lighting;
    int threads = 0;               // 0 = every core
    // Set by another thread to give the picture up; the result is then incomplete.
    const std::atomic<bool>* cancel = nullptr;
};

// Where the light of one pixel went. lit + unlit + belowThreshold +
// bounceLimit = 1 for a pixel inside the stone.
struct PixelLight {
    double iso = 0, cos = 0;    // scores of the two models
    double observed = 0;        // the ISO score with the observer's head shadow (lighting.h)
    double surface = 0;         // reflected by the facet the light meets first, lit or not
    double lit = 0;             // energy that left toward lit directions
    double unlit = 0;           // energy that left toward dark directions
    double belowThreshold = 0;  // given up as too weak to matter
    double bounceLimit = 0;     // still inside after the last allowed reflection
    double window = 0;          // part of lit + unlit that left below the girdle plane
    // Under a room light (optics/environment.h): what it returns, and that
    // with the observer's head shadow; for ASET the light of each zone
    // (scene = red + green).
    double scene = 0, sceneObserved = 0;
    double red = 0, green = 0, blue = 0;
    bool inside = false;        // the pixel's ray meets the stone
};

// The way in is found this many planes at a time, as one vector operation
// each; the up, down and side arrays below are padded to whole blocks.
constexpr int PLANE_LANES = 4;

// The stone's planes turned by the tilt, in blocks the inner loops run
// through without branches, with the square of the view the pixels cover.
class PreparedStone {
public:
    // Without hints every ray is searched for in full; the picture is the same.
    PreparedStone(const Stone& stone, double tiltDegrees, bool withHints = true);

    int facetCount() const { return count_; }
    double centreX() const { return centreX_; }
    double centreY() const { return centreY_; }
    double halfWidth() const { return halfWidth_; }

    // Follows the light of the vertical ray through (x, y).
    PixelLight trace(double x, double y, double refractiveIndex, const LightingTest& lighting) const;

    // Every plane, for the way out: a x + b y + c z <= d inside, the crown
    // first and the pavilion last. Padding planes (0, 0, 0, 1) are never
    // left by.
    std::vector<double> a, b, c, d;
    std::vector<int> facetOf;  // facet number of each plane, -1 for padding
    // The same in single precision, for finding the plane a ray leaves by
    // and the distance to it.
    std::vector<float> fa, fb, fc, fd;
    // Per block of the exit search: the mean direction of its normals and
    // the cosine below which a ray heads out through none of them.
    std::vector<double> blockAxis;
    // The planes facing up, as heights over the view plane:
    // z = h - x * hx - y * hy; the stone lies below the lowest of them.
    std::vector<double> upHx, upHy, upH;
    std::vector<int> upPlane;  // index into the plane arrays
    // The planes facing down, likewise; the stone lies above the highest.
    std::vector<double> downHx, downHy, downH;
    // The vertical planes: a x + b y <= d inside.
    std::vector<double> sideA, sideB, sideD;
    // What settles cheaply that a ray leaves by the plane its neighbour
    // pixel left by, or enters by the plane it entered by. Without them
    // (cleared) every entry and exit is searched in full, with the same
    // result.
    ExitHints hints;

private:
    int count_ = 0;
    double centreX_ = 0, centreY_ = 0, halfWidth_ = 1;
};

struct FaceUpImage {
    int size = 0;
    std::vector<float> iso, cos;     // row 0 at the top (+y); 0 outside the stone
    std::vector<uint8_t> inside;     // 1 where the pixel's ray meets the stone
    // Share of the pixel's light that left below the girdle plane: where the
    // viewer sees through the stone instead of light returned by it.
    std::vector<float> window;
    // The ISO score as an observer sees it: with the lighting's head shadow,
    // or OBSERVER_HEAD_DEGREES of it when the lighting has none. Contrast is
    // judged on this picture.
    std::vector<float> observed;
    double isoBrightness = 0;        // per cent: mean score over the pixels inside
    double cosBrightness = 0;
    // Under a room light (empty for ISO and COS): its picture, that with the
    // observer's head shadow (contrast and scintillation under the room are
    // judged on it), and for ASET the light from each zone.
    Environment environment = Environment::Iso;
    std::vector<float> scene, sceneObserved;
    std::vector<float> red, green, blue;
    double sceneBrightness = 0;      // per cent
    int insideCount = 0;
    bool complete = true;            // false when cancelled

    const std::vector<float>& of(LightModel model) const { return model == LightModel::Iso ? iso : cos; }
    double brightness(LightModel model) const {
        return model == LightModel::Iso ? isoBrightness : cosBrightness;
    }
};

FaceUpImage renderFaceUp(const Stone& stone, const FaceUpOptions& options);
// The same on planes already prepared (the tilt is theirs).
FaceUpImage renderFaceUp(const PreparedStone& prepared, const FaceUpOptions& options);

// Rows traced together, each row guessing its exits from the one before.
constexpr int ROWS_PER_BAND = 16;

// A picture traced a band of rows at a time, so that the bands of several
// pictures can share the cores: each band starts afresh, so the picture is
// the same whichever thread traces which band, and in whatever order.
class FaceUpTrace {
public:
    // `prepared` must outlive the trace; options.threads and options.cancel
    // are the caller's to honour.
    FaceUpTrace(const PreparedStone& prepared, const FaceUpOptions& options);

    int size() const { return image_.size; }
    // Rows that must be traced in one call, [k * bandRows(), (k + 1) *
    // bandRows()): ROWS_PER_BAND where rows guess from the row before, else 1.
    int bandRows() const { return guessExits_ ? ROWS_PER_BAND : 1; }
    // Traces rows [first, end), which start a band and end one (or the
    // picture); several threads may trace rows that do not overlap at once.
    void traceRows(int first, int end);
    // The picture, once every row is traced (`complete` false when some were not).
    FaceUpImage finish(bool complete);

private:
    struct RowSums {
        double iso = 0, cos = 0, scene = 0;
        int inside = 0;
    };
    const PreparedStone& prepared_;
    double refractiveIndex_;
    LightingTest light_;
    bool guessEntries_, guessExits_;
    double step_, left_, top_;
    FaceUpImage image_;
    std::vector<RowSums> rows_;
};

}  // namespace brevix::optics
