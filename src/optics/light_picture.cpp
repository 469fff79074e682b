#include "optics/light_picture.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <png.h>

namespace brevix::optics {

namespace {

std::array<uint8_t, 1024> gammaTable() {
    std::array<uint8_t, 1024> table{};
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<uint8_t>(std::lround(255.0 * std::pow(i / 1023.0, 1.0 / 2.2)));
    return table;
}

uint8_t shade(float score) {
    static const std::array<uint8_t, 1024> table = gammaTable();
    const float s = std::clamp(score, 0.0f, 1.0f);
    return table[static_cast<size_t>(std::lround(s * 1023.0f))];
}

void putBackground(uint8_t* px) { std::copy(BACKGROUND_RGB, BACKGROUND_RGB + 3, px); }

}  // namespace

RgbPicture picture(const FaceUpImage& image, LightModel model) {
    RgbPicture out{image.size, image.size, std::vector<uint8_t>(size_t(image.size) * image.size * 3)};
    const std::vector<float>& score = image.of(model);
    for (size_t i = 0; i < image.inside.size(); ++i) {
        uint8_t* px = &out.rgb[i * 3];
        if (!image.inside[i]) {
            putBackground(px);
            continue;
        }
        px[0] = px[1] = px[2] = shade(score[i]);
    }
    return out;
}

namespace {

// Each colour of the picture from its own score.
RgbPicture colourPicture(int n, const std::array<const std::vector<float>*, 3>& score,
                         const std::array<const std::vector<uint8_t>*, 3>& inside) {
    RgbPicture out{n, n, std::vector<uint8_t>(size_t(n) * n * 3)};
    for (size_t i = 0; i < size_t(n) * n; ++i) {
        uint8_t* px = &out.rgb[i * 3];
        bool in = false;
        for (int c = 0; c < 3; ++c) {
            in = in || (*inside[c])[i];
            px[c] = shade((*score[c])[i]);
        }
        if (!in) putBackground(px);
    }
    return out;
}

bool hasScenePicture(const FaceUpImage& image, Environment environment) {
    return hasScene(environment) && image.environment == environment &&
           image.scene.size() == image.inside.size() &&
           (environment != Environment::Aset || image.red.size() == image.inside.size());
}

}  // namespace

RgbPicture picture(const DispersionImage& image, LightModel model) {
    const auto& ch = image.channels;
    return colourPicture(ch[0].size, {&ch[0].of(model), &ch[1].of(model), &ch[2].of(model)},
                         {&ch[0].inside, &ch[1].inside, &ch[2].inside});
}

RgbPicture picture(const FaceUpImage& image, Environment environment) {
    if (environment == Environment::Cos) return picture(image, LightModel::Cos);
    if (!hasScenePicture(image, environment)) return picture(image, LightModel::Iso);
    if (environment == Environment::Aset)
        return colourPicture(image.size, {&image.red, &image.green, &image.blue},
                             {&image.inside, &image.inside, &image.inside});
    return colourPicture(image.size, {&image.scene, &image.scene, &image.scene},
                         {&image.inside, &image.inside, &image.inside});
}

RgbPicture picture(const DispersionImage& image, Environment environment) {
    const auto& ch = image.channels;
    if (environment == Environment::Cos) return picture(image, LightModel::Cos);
    if (environment == Environment::Aset) return picture(ch[1], environment);
    for (const FaceUpImage& channel : ch)
        if (!hasScenePicture(channel, environment)) return picture(image, LightModel::Iso);
    return colourPicture(ch[0].size, {&ch[0].scene, &ch[1].scene, &ch[2].scene},
                         {&ch[0].inside, &ch[1].inside, &ch[2].inside});
}

std::string encodePng(const RgbPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != size_t(picture.width) * size_t(picture.height) * 3)
        return {};
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    // Unfiltered rows suit these pictures (flat facets on a flat ground):
    // small ones come out at half the size the adaptive filters give.
    image.flags = PNG_IMAGE_FLAG_FAST;
    // The first call only measures; the second writes into a buffer that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, picture.rgb.data(), 0, nullptr)) return {};
    std::string png(size, '\0');
    const bool written = png_image_write_to_memory(&image, png.data(), &size, 0, picture.rgb.data(), 0, nullptr);
    png_image_free(&image);
    if (!written) return {};
    png.resize(size);
    return png;
}

}  // namespace brevix::optics
