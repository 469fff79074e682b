// What surrounds the renderer: tilt ranges as typed, the three line
// indexes of a dispersion picture, and the PNG bytes of a picture.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <ostream>
#include <string>
#include <utility>

#include "design/sample_designs.h"
#include "optics/dispersion.h"
#include "optics/light_picture.h"
#include "optics/materials.h"
#include "optics/tilt_sweep.h"

namespace brevix::optics {

bool operator==(const RgbPicture& a, const RgbPicture& b) {
    return a.width == b.width && a.height == b.height && a.rgb == b.rgb;
}
std::ostream& operator<<(std::ostream& out, const RgbPicture& p) { return out << p.width << " x " << p.height; }

namespace {

TEST(TiltRange, EndsIncludedAndBadRangesRefused) {
    std::string error;
    const auto range = parseTiltRange("-30:30:2.5", error);
    ASSERT_TRUE(range);
    const std::vector<double> tilts = tiltsOf(*range);
    ASSERT_EQ(tilts.size(), 25u);
    EXPECT_DOUBLE_EQ(tilts.front(), -30);
    EXPECT_DOUBLE_EQ(tilts.back(), 30);
    EXPECT_EQ(tiltsOf({0, 1, 0.1}).size(), 11u) << "0.1 steps must not lose the last tilt to rounding";
    EXPECT_EQ(tiltsOf({5, 5, 1}).size(), 1u);
    EXPECT_TRUE(parseTiltRange("+0:10:5", error));

    for (const char* bad : {"", "1:2", "a:b:c", "0:10:0", "0:10:-1", "10:0:1", "0:10:1:2", "0:1e9:1e-3",
                            "0:10:1x", "nan:1:1", "0:inf:1"}) {
        error.clear();
        EXPECT_FALSE(parseTiltRange(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(Dispersion, LineIndexesKeepNdAndTheDispersion) {
    for (const Material& m : materials()) {
        const LineIndexes n = lineIndexes(m.refractiveIndex, m.dispersion);
        EXPECT_DOUBLE_EQ(n.d, m.refractiveIndex);
        EXPECT_NEAR(n.f - n.c, m.dispersion, 1e-12) << m.name;
        EXPECT_LT(n.c, n.d);
        EXPECT_LT(n.d, n.f) << "blue light bends more";
    }
    // Diamond splits white light: the three pictures differ, the D one is
    // the plain picture.
    FaceUpOptions o;
    o.size = 64;
    o.refractiveIndex = 2.42;
    const Stone brilliant = makeRoundBrilliant();
    const DispersionImage fire = renderDispersion(brilliant, o, 0.025);
    EXPECT_EQ(fire.channels[1].iso, renderFaceUp(brilliant, o).iso);
    EXPECT_NE(fire.channels[0].iso, fire.channels[2].iso);
    const RgbPicture colours = picture(fire, LightModel::Iso);
    int coloured = 0;
    for (size_t i = 0; i < colours.rgb.size(); i += 3)
        coloured += colours.rgb[i] != colours.rgb[i + 1] || colours.rgb[i + 1] != colours.rgb[i + 2];
    EXPECT_GT(coloured, 20);
}

uint32_t bigEndian(const std::string& s, size_t at) {
    return uint32_t(uint8_t(s[at])) << 24 | uint32_t(uint8_t(s[at + 1])) << 16 | uint32_t(uint8_t(s[at + 2])) << 8 |
           uint8_t(s[at + 3]);
}

// A PNG file's pixels as libpng reads them back (an empty picture when it
// is no PNG file).
RgbPicture readPng(const std::string& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
    image.format = PNG_FORMAT_RGB;
    RgbPicture picture{int(image.width), int(image.height), std::vector<uint8_t>(PNG_IMAGE_SIZE(image))};
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) return {};
    return picture;
}

TEST(LightPicture, ShadesBackgroundAndPngBytes) {
    FaceUpImage image;
    image.size = 2;
    image.iso = {0.0f, 1.0f, 0.5f, 0.7f};
    image.cos = {0.0f, 0.25f, 0.5f, 0.0f};
    image.inside = {1, 1, 1, 0};
    const RgbPicture iso = picture(image, LightModel::Iso);
    ASSERT_EQ(iso.rgb.size(), 12u);
    EXPECT_EQ(iso.rgb[0], 0);
    EXPECT_EQ(iso.rgb[3], 255);
    EXPECT_EQ(iso.rgb[6], 186) << "half the light shows as 255 * 0.5^(1/2.2)";
    EXPECT_EQ(std::memcmp(&iso.rgb[9], BACKGROUND_RGB, 3), 0) << "outside the stone";
    EXPECT_EQ(picture(image, LightModel::Cos).rgb[3], 136);

    const std::string png = encodePng(iso);
    ASSERT_GT(png.size(), 8u + 25 + 12);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bigEndian(png, 8), 13u);
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(bigEndian(png, 16), 2u);
    EXPECT_EQ(bigEndian(png, 20), 2u);
    EXPECT_EQ(png.substr(24, 5), std::string("\x08\x02\x00\x00\x00", 5));
    // Every chunk's CRC covers its type and data (zlib's crc32 of this
    // IHDR's type and data).
    EXPECT_EQ(bigEndian(png, 29), 0xfdd49a73u);
    EXPECT_EQ(png.substr(png.size() - 12), std::string("\0\0\0\0IEND\xae\x42\x60\x82", 12));
    EXPECT_EQ(readPng(png), iso);
    // A real picture: flat facets and background compress well.
    FaceUpOptions o;
    o.size = 200;
    o.refractiveIndex = 2.42;
    const RgbPicture stone = picture(renderFaceUp(makeRoundBrilliant(), o), LightModel::Iso);
    const std::string stonePng = encodePng(stone);
    EXPECT_LT(stonePng.size(), stone.rgb.size() / 8);
    EXPECT_EQ(readPng(stonePng), stone);
}

TEST(LightPicture, EveryPixelReadsBackAndBadPicturesGiveNoFile) {
    // Odd widths, so that rows line up with nothing, and noise that does not
    // compress, beside long runs.
    RgbPicture noise{301, 7, std::vector<uint8_t>(301 * 7 * 3)};
    uint32_t state = 12345;
    for (uint8_t& byte : noise.rgb) {
        state = state * 1103515245u + 12345u;
        byte = uint8_t((state >> 16) % 5 == 0 ? state >> 24 : 200);
    }
    const RgbPicture dot{1, 1, {1, 2, 3}};
    for (const RgbPicture* p : {&std::as_const(noise), &dot}) EXPECT_EQ(readPng(encodePng(*p)), *p);
    EXPECT_EQ(encodePng(RgbPicture{}), "");
    EXPECT_EQ(encodePng(RgbPicture{2, 2, std::vector<uint8_t>(11)}), "") << "pixels that do not fill it";
}

}  // namespace
}  // namespace brevix::optics
