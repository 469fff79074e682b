#include "files/design_damage.h"

#include <bit>
#include <cmath>
#include <istream>

#include "files/binary_io.h"
#include "files/gem_format.h"
#include "files/memory_input.h"

namespace brevix {

namespace {

constexpr const char* EMPTY = "The file is empty.";
constexpr const char* IN_FACETS = "It ends inside its list of facets.";
constexpr const char* IN_SETTINGS = "It ends inside its design settings (symmetry, gear, refractive index).";
constexpr const char* IN_LINES = "It ends inside its heading and footnote lines.";
constexpr const char* IN_PREFORM = "It ends inside its preform.";

const uint64_t END_BITS = std::bit_cast<uint64_t>(END_OF_FACETS);

// Remembers the stream position and puts it back, whatever the check found.
class KeepPosition {
public:
    explicit KeepPosition(std::istream& in)
        : in_(in), buffer_(in.rdbuf()),
          position_(buffer_ ? buffer_->pubseekoff(0, std::ios_base::cur, std::ios_base::in)
                            : std::streambuf::pos_type(std::streambuf::off_type(-1))) {}
    ~KeepPosition() {
        if (buffer_ && position_ != std::streambuf::pos_type(std::streambuf::off_type(-1)))
            buffer_->pubseekpos(position_, std::ios_base::in);
        in_.clear();
    }
    KeepPosition(const KeepPosition&) = delete;
    KeepPosition& operator=(const KeepPosition&) = delete;
    std::streambuf* buffer() const { return buffer_; }

private:
    std::istream& in_;
    std::streambuf* buffer_;
    std::streambuf::pos_type position_;
};

bool atEnd(std::streambuf* in) { return in->sgetc() == std::char_traits<char>::eof(); }

bool skip(std::streambuf* in, std::streamsize count) {
    char scratch[256];
    while (count > 0) {
        const std::streamsize step = count < 256 ? count : 256;
        if (in->sgetn(scratch, step) != step) return false;
        count -= step;
    }
    return true;
}

enum class Walk { Whole, Stop, CutShort };

// One facet list up to and with its end marker. Stop: a record the reader
// refuses for its content (it says so itself); the lengths after it mean nothing.
Walk walkFacets(std::streambuf* in, bool& empty) {
    empty = atEnd(in);
    for (;;) {
        double x, y, z;
        if (!le::getDouble(in, x)) return Walk::CutShort;
        if (std::bit_cast<uint64_t>(x) == END_BITS) return Walk::Whole;
        int32_t tier;
        if (!le::getDouble(in, y) || !le::getDouble(in, z)) return Walk::CutShort;
        const double len = std::sqrt(x * x + y * y + z * z);
        if (!(len > 0 && len <= GEM_MAX_POLE)) return Walk::Stop;
        if (!le::getI32(in, tier)) return Walk::CutShort;
        const int length = le::getByte(in);
        if (length < 0) return Walk::CutShort;
        if (length > GEM_MAX_FACET_TEXT) return Walk::Stop;
        if (!skip(in, length)) return Walk::CutShort;
        int32_t marker;
        if (!le::getI32(in, marker)) return Walk::CutShort;
        while (marker == 1) {
            if (!skip(in, 3 * 8) || !le::getI32(in, marker)) return Walk::CutShort;
        }
    }
}

bool walkSettings(std::streambuf* in) {
    int32_t symmetry, mirror, gear, marker;
    double refractiveIndex, offset;
    if (!le::getI32(in, symmetry) || !le::getI32(in, mirror) || !le::getI32(in, gear) ||
        !le::getDouble(in, refractiveIndex) || !le::getI32(in, marker))
        return false;
    return marker != OFFSET_AS_DOUBLE || le::getDouble(in, offset);
}

}  // namespace

std::string gemDamage(std::istream& stream) {
    KeepPosition keep(stream);
    std::streambuf* in = keep.buffer();
    if (!in) return {};
    for (int depth = 0; depth <= GEM_MAX_PREFORM_DEPTH; ++depth) {
        const char* cutShort = depth > 0 ? IN_PREFORM : nullptr;
        bool empty = false;
        switch (walkFacets(in, empty)) {
        case Walk::Stop: return {};
        case Walk::CutShort: return cutShort ? cutShort : empty ? EMPTY : IN_FACETS;
        case Walk::Whole: break;
        }
        if (!walkSettings(in)) return cutShort ? cutShort : IN_SETTINGS;
        // Files that end right after the settings come from writers that
        // kept no lines; once the lines begin, all eight must be there.
        for (int line = 0; line < 8; ++line) {
            const int length = le::getByte(in);
            if (length < 0 && line == 0) return {};
            if (length < 0 || !skip(in, length)) return cutShort ? cutShort : IN_LINES;
        }
        const int length = le::getByte(in);
        if (length < 0) return {};
        std::string word(static_cast<size_t>(length), '\0');
        if (in->sgetn(word.data(), length) != length) return cutShort ? cutShort : IN_PREFORM;
        if (word != "preform") return {};
    }
    return {};  // nested deeper than the reader goes: it stops there and says so
}

std::string gemDamage(std::span<const unsigned char> bytes) {
    MemoryInput in(bytes);
    return gemDamage(in);
}

bool lastLineUnended(std::istream& stream) {
    KeepPosition keep(stream);
    std::streambuf* in = keep.buffer();
    if (!in) return false;
    const auto end = in->pubseekoff(0, std::ios_base::end, std::ios_base::in);
    if (end == std::streambuf::pos_type(std::streambuf::off_type(-1))) return false;
    // Back from the end to the last line end; what follows it must be
    // blank (a DOS end-of-file mark or zero bytes count as blank).
    constexpr std::streamoff CHUNK = 4096;
    const std::streamoff size = end - std::streambuf::pos_type(0);
    char chunk[CHUNK];
    for (std::streamoff stop = size; stop > 0;) {
        const std::streamoff start = stop > CHUNK ? stop - CHUNK : 0;
        in->pubseekpos(std::streambuf::pos_type(start), std::ios_base::in);
        const std::streamsize count = stop - start;
        if (in->sgetn(chunk, count) != count) return false;
        for (std::streamsize i = count; i-- > 0;) {
            const char c = chunk[i];
            if (c == '\n' || c == '\r') return false;
            if (c != ' ' && c != '\t' && c != '\x1A' && c != '\0') return true;
        }
        stop = start;
    }
    return false;
}

bool lastLineUnended(std::span<const unsigned char> bytes) {
    MemoryInput in(bytes);
    return lastLineUnended(in);
}

}  // namespace brevix
