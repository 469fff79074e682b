#pragma once
// Little-endian numbers in a stream, the byte order of every binary file
// the program reads and writes, whatever the machine's own order.
#include <bit>
#include <cstdint>
#include <cstring>
#include <istream>
#include <string>

namespace brevix::le {

inline void putU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void putI32(std::string& out, int32_t v) { putU32(out, static_cast<uint32_t>(v)); }
inline void putU16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
inline void putDouble(std::string& out, double v) {
    const uint64_t bits = std::bit_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

// Each reader returns false, leaving `v` alone, when the stream ends first.
inline bool readBytes(std::streambuf* in, unsigned char* bytes, std::streamsize count) {
    return in->sgetn(reinterpret_cast<char*>(bytes), count) == count;
}
inline bool getU32(std::streambuf* in, uint32_t& v) {
    unsigned char b[4];
    if (!readBytes(in, b, 4)) return false;
    v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
}
inline bool getI32(std::streambuf* in, int32_t& v) {
    uint32_t u;
    if (!getU32(in, u)) return false;
    v = static_cast<int32_t>(u);
    return true;
}
inline bool getU16(std::streambuf* in, uint16_t& v) {
    unsigned char b[2];
    if (!readBytes(in, b, 2)) return false;
    v = static_cast<uint16_t>(b[0] | b[1] << 8);
    return true;
}
inline bool getDouble(std::streambuf* in, double& v) {
    unsigned char b[8];
    if (!readBytes(in, b, 8)) return false;
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | b[i];
    v = std::bit_cast<double>(bits);
    return true;
}
// One byte, or -1 at the end of the stream.
inline int getByte(std::streambuf* in) {
    const int c = in->sbumpc();
    return c == std::char_traits<char>::eof() ? -1 : c & 0xFF;
}

}  // namespace brevix::le
