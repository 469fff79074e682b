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

namespace {

// Writes bits least significant first, as deflate packs them.
class BitWriter {
public:
    explicit BitWriter(std::string& out) : out_(out) {}
    void put(uint32_t bits, int count) {
        buffer_ |= uint64_t(bits) << filled_;
        filled_ += count;
        while (filled_ >= 8) {
            out_.push_back(static_cast<char>(buffer_ & 0xFF));
            buffer_ >>= 8;
            filled_ -= 8;
        }
    }
    // Huffman codes go most significant bit first.
    void putCode(uint32_t code, int length) {
        uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
        put(reversed, length);
    }
    void flush() {
        if (filled_ > 0) out_.push_back(static_cast<char>(buffer_ & 0xFF));
        buffer_ = 0;
        filled_ = 0;
    }

private:
    std::string& out_;
    uint64_t buffer_ = 0;
    int filled_ = 0;
};

// A literal byte or a length symbol (256 to 287) in deflate's fixed code.
void putSymbol(BitWriter& bits, int symbol) {
    if (symbol < 144)
        bits.putCode(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.putCode(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.putCode(symbol - 256, 7);
    else
        bits.putCode(0xC0 + symbol - 280, 8);
}

constexpr int LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int DISTANCE_BASE[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                   193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int DISTANCE_EXTRA[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void putMatch(BitWriter& bits, int length, int distance) {
    int l = 28;
    while (LENGTH_BASE[l] > length) --l;
    putSymbol(bits, 257 + l);
    bits.put(length - LENGTH_BASE[l], LENGTH_EXTRA[l]);
    int d = 29;
    while (DISTANCE_BASE[d] > distance) --d;
    bits.putCode(d, 5);
    bits.put(distance - DISTANCE_BASE[d], DISTANCE_EXTRA[d]);
}

// Deflate with the fixed code and greedy matches found through the last
// place each three bytes were seen: pictures of flat facets and a plain
// background shrink several times over, at little cost.
std::string deflateFixed(const std::string& data) {
    constexpr int WINDOW = 32768, MIN_MATCH = 3, MAX_MATCH = 258, HASH_BITS = 15;
    std::string out;
    BitWriter bits(out);
    bits.put(1, 1);  // the last block
    bits.put(1, 2);  // fixed code
    std::vector<int> last(size_t(1) << HASH_BITS, -1);
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
    const int size = static_cast<int>(data.size());
    auto hashAt = [&](int i) {
        const uint32_t h = (uint32_t(bytes[i]) << 16 | uint32_t(bytes[i + 1]) << 8 | bytes[i + 2]) * 2654435761u;
        return h >> (32 - HASH_BITS);
    };
    int i = 0;
    while (i < size) {
        int length = 0, distance = 0;
        if (i + MIN_MATCH <= size) {
            const uint32_t h = hashAt(i);
            const int candidate = last[h];
            last[h] = i;
            if (candidate >= 0 && i - candidate <= WINDOW) {
                const int limit = std::min(MAX_MATCH, size - i);
                while (length < limit && bytes[candidate + length] == bytes[i + length]) ++length;
                distance = i - candidate;
            }
        }
        if (length >= MIN_MATCH) {
            putMatch(bits, length, distance);
            for (int k = 1; k < length && i + k + MIN_MATCH <= size; ++k) last[hashAt(i + k)] = i + k;
            i += length;
        } else {
            putSymbol(bits, bytes[i]);
            ++i;
        }
    }
    putSymbol(bits, 256);  // end of block
    bits.flush();
    return out;
}

}  // namespace

std::string encodePng(const RgbPicture& picture) {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    putBigEndian(header, static_cast<uint32_t>(picture.width));
    putBigEndian(header, static_cast<uint32_t>(picture.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);

    // The rows, each after its filter byte (0: none), as a zlib stream.
    std::string raw;
    const size_t rowBytes = size_t(picture.width) * 3;
    raw.reserve((rowBytes + 1) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back('\0');
        raw.append(reinterpret_cast<const char*>(picture.rgb.data() + y * rowBytes), rowBytes);
    }
    std::string z("\x78\x01", 2);
    z += deflateFixed(raw);
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
