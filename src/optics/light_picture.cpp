#include "optics/light_picture.h"

#include <algorithm>
#include <array>
#include <cmath>

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

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void putChunk(std::string& out, const char type[4], const std::string& data) {
    putBigEndian(out, static_cast<uint32_t>(data.size()));
    std::string body(type, 4);
    body += data;
    out += body;
    putBigEndian(out, crc32(reinterpret_cast<const uint8_t*>(body.data()), body.size()));
}

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

RgbPicture picture(const DispersionImage& image, LightModel model) {
    const int n = image.channels[0].size;
    RgbPicture out{n, n, std::vector<uint8_t>(size_t(n) * n * 3)};
    for (size_t i = 0; i < size_t(n) * n; ++i) {
        uint8_t* px = &out.rgb[i * 3];
        bool inside = false;
        for (int c = 0; c < 3; ++c) {
            const FaceUpImage& channel = image.channels[c];
            inside = inside || channel.inside[i];
            px[c] = shade(channel.of(model)[i]);
        }
        if (!inside) putBackground(px);
    }
    return out;
}

std::string encodePng(const RgbPicture& picture) {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    putBigEndian(header, static_cast<uint32_t>(picture.width));
    putBigEndian(header, static_cast<uint32_t>(picture.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);

    // The rows, each after its filter byte (0: none), as a zlib stream of
    // stored deflate blocks.
    std::string raw;
    const size_t rowBytes = size_t(picture.width) * 3;
    raw.reserve((rowBytes + 1) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back('\0');
        raw.append(reinterpret_cast<const char*>(picture.rgb.data() + y * rowBytes), rowBytes);
    }
    std::string z("\x78\x01", 2);
    size_t at = 0;
    do {
        const size_t len = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + len == raw.size();
        z.push_back(last ? '\x01' : '\x00');
        z.push_back(static_cast<char>(len & 0xFF));
        z.push_back(static_cast<char>(len >> 8));
        z.push_back(static_cast<char>(~len & 0xFF));
        z.push_back(static_cast<char>((~len >> 8) & 0xFF));
        z.append(raw, at, len);
        at += len;
    } while (at < raw.size());
    uint32_t s1 = 1, s2 = 0;
    for (unsigned char c : raw) {
        s1 = (s1 + c) % 65521;
        s2 = (s2 + s1) % 65521;
    }
    putBigEndian(z, (s2 << 16) | s1);
    putChunk(png, "IDAT", z);
    putChunk(png, "IEND", std::string());
    return png;
}

}  // namespace brevix::optics
