#pragma once
// The rendered light as a picture a person looks at: 8-bit RGB pixels and
// a PNG file's bytes (through libpng, not a graphics toolkit), so batch runs
// need no display.
#include <cstdint>
#include <string>
#include <vector>

#include "optics/dispersion.h"
#include "optics/face_up.h"

namespace brevix::optics {

// Outside the stone: a dark slate, so black areas of the stone (where it
// leaks or sees only dark directions) stand out from the background.
constexpr uint8_t BACKGROUND_RGB[3] = {44, 48, 58};

struct RgbPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // three bytes a pixel, rows from the top
};

// Scores are linear light; they are shown through the usual display gamma
// (2.2) so mid tones look as bright to the eye as they are.
RgbPicture picture(const FaceUpImage& image, LightModel model);
RgbPicture picture(const DispersionImage& image, LightModel model);
// Under a lighting: ISO or COS as above; a room's own picture in grey (with
// dispersion, in its colours); ASET in its zones' colours, red, green and
// blue, black where light leaks (the D line's zones with dispersion). A
// render without the room's picture shows its ISO picture.
RgbPicture picture(const FaceUpImage& image, Environment environment);
RgbPicture picture(const DispersionImage& image, Environment environment);

// A PNG file (8-bit RGB, not interlaced). Empty when the picture is empty
// or its pixels do not fill it, or memory ran out.
std::string encodePng(const RgbPicture& picture);

}  // namespace brevix::optics
