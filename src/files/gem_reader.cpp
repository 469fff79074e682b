// Reading the binary format into a design record. The stored corner rings
// are skipped: buildStone rebuilds the polyhedron by cutting the planes.
#include <bit>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "files/binary_io.h"
#include "files/build_stone.h"
#include "files/design_value_checks.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/file_units.h"
#include "files/gem_format.h"
#include "files/gem_pole.h"
#include "files/memory_input.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

const uint64_t END_BITS = std::bit_cast<uint64_t>(END_OF_FACETS);

void note(DesignRecord& record, DiagKind kind, DiagCode code, std::string_view text) {
    record.notes.push_back({record.planes.size(), {kind, std::string(text), code}});
}

void corruptText(DesignRecord& record, int length) {
    note(record, DiagKind::Warning, DiagCode::FileGemBadTextLength, strprintf(filemsg::GEM_BAD_TEXT_LENGTH, length));
}

// A text of `length` bytes; false when the stream ends first. The texts are
// zero-terminated strings: each ends at its first zero byte, as every
// program that reads the format takes it (and as the text format would cut
// it when the design is saved there).
bool readText(std::streambuf* in, int length, std::string& text) {
    text.resize(static_cast<size_t>(length));
    if (!le::readBytes(in, reinterpret_cast<unsigned char*>(text.data()), length)) return false;
    if (const size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return true;
}

// Skips a corner ring; false when the stream ends inside it.
bool skipRing(std::streambuf* in) {
    int32_t marker;
    if (!le::getI32(in, marker)) return false;
    while (marker == 1) {
        double x, y, z;
        if (!le::getDouble(in, x) || !le::getDouble(in, y) || !le::getDouble(in, z) ||
            !le::getI32(in, marker))
            return false;
    }
    return true;
}

// A facet's text: its name, a tab and its instruction.
void takeTexts(FacetPlane& plane, const std::string& text) {
    const size_t tab = text.find('\t');
    plane.name = text.substr(0, tab);
    if (tab != std::string::npos) plane.instruction = text.substr(tab + 1);
}

// One facet record after its pole's first coordinate; false when reading
// must stop (the reason is noted).
bool readFacet(DesignRecord& record, std::streambuf* in, double x) {
    double y, z;
    int32_t tier;
    // A record cut short before its text ends like one whose text length is missing.
    if (!le::getDouble(in, y) || !le::getDouble(in, z)) {
        corruptText(record, -1);
        return false;
    }
    const double len = std::sqrt(x * x + y * y + z * z);
    // Not a plane at all, or one nearer the centre than any facet can be
    // (the same limit as isGemFile).
    if (!(len > 0 && len <= GEM_MAX_POLE)) {
        note(record, DiagKind::Warning, DiagCode::FileGemBadPole, strprintf(filemsg::GEM_BAD_POLE, len));
        return false;
    }
    const GemPlane pole = planeOfPole(x, y, z);
    FacetPlane& plane = record.planes.emplace_back();
    plane.a = pole.a;
    plane.b = pole.b;
    plane.c = pole.c;
    plane.d = pole.d;
    if (!le::getI32(in, tier)) {  // tiers are given again by the cuts
        corruptText(record, -1);
        return false;
    }
    plane.tier = tier;
    const int length = le::getByte(in);
    if (length != 0) {
        std::string text;
        if (length < 0 || length > GEM_MAX_FACET_TEXT) {
            corruptText(record, length);
            return false;
        }
        if (!readText(in, length, text)) {
            corruptText(record, -1);
            return false;
        }
        takeTexts(plane, text);
    }
    if (!skipRing(in)) {
        note(record, DiagKind::Warning, DiagCode::FileGemBadRing, filemsg::GEM_BAD_RING);
        return false;
    }
    return true;
}

// The facet list; false when reading must stop (the reason is noted).
bool readFacets(DesignRecord& record, std::streambuf* in) {
    for (int records = 0;; ++records) {
        double x;
        if (!le::getDouble(in, x)) {
            // Facets without the list's end are a file cut short: whatever
            // followed them is missing, and the user must know it.
            if (records > 0) note(record, DiagKind::Warning, DiagCode::FileGemNoEndOfFacets, filemsg::GEM_NO_END_OF_FACETS);
            return records == 0;
        }
        if (std::bit_cast<uint64_t>(x) == END_BITS) return true;
        if (!readFacet(record, in, x)) return false;
    }
}

// Settings and lines; false when the file ends before them. A value no
// design may hold is refused and the design keeps the one it had.
bool readSettings(DesignRecord& record, DesignSettings& settings, std::streambuf* in) {
    int32_t symmetry, mirror, gear, marker;
    double refractiveIndex, offset;
    const auto refuse = [&record](DiagCode code, const std::string& problem, const std::string& kept) {
        note(record, DiagKind::Warning, code, valueKeptMessage(problem, kept));
    };
    if (!le::getI32(in, symmetry)) return false;
    if (const std::string problem = symmetryProblem(symmetry); !problem.empty())
        refuse(DiagCode::FileSymmetryRefused, problem, strprintf("%d", settings.symmetry));
    else
        settings.symmetry = symmetry;
    if (!le::getI32(in, mirror)) return false;
    settings.mirror = mirror;
    if (!le::getI32(in, gear)) return false;
    if (const std::string problem = gearProblem(gear); !problem.empty()) {
        note(record, DiagKind::Warning, DiagCode::FileGearOutOfRange, problem);
        return false;
    }
    settings.gear = gear;
    if (!le::getDouble(in, refractiveIndex)) return false;
    if (const std::string problem = refractiveIndexProblem(refractiveIndex); !problem.empty())
        refuse(DiagCode::FileRefractiveIndexRefused, problem, strprintf("%.2f", settings.refractiveIndex));
    else
        settings.refractiveIndex = refractiveIndex;
    if (!le::getI32(in, marker)) {
        settings.indexOffset = 0;
        return false;
    }
    if (marker == OFFSET_AS_DOUBLE) {
        if (!le::getDouble(in, offset)) {
            settings.indexOffset = 0;
            return false;
        }
        if (const std::string problem = indexOffsetProblem(offset); !problem.empty())
            refuse(DiagCode::FileIndexOffsetRefused, problem, strprintf("%g", settings.indexOffset));
        else
            settings.indexOffset = offset;
    } else {
        settings.indexOffset = marker;  // files that kept the offset as a whole number
    }
    std::string text;
    for (int k = 0; k < 8; ++k) {
        const int length = le::getByte(in);
        if (length < 0) return false;
        if (length > 0 && !readText(in, length, text)) return false;
        (k < 4 ? settings.heading[k] : settings.footnote[k - 4]) = length > 0 ? text : std::string();
    }
    return true;
}

}  // namespace

bool isGemFile(std::istream& in) {
    std::streambuf* buffer = in.rdbuf();
    if (!buffer) return false;
    const auto position = buffer->pubseekoff(0, std::ios_base::cur, std::ios_base::in);
    bool good = true;
    for (;;) {
        double x, y, z;
        if (!le::getDouble(buffer, x) || x == END_OF_FACETS) break;
        if (!le::getDouble(buffer, y) || !le::getDouble(buffer, z)) {
            good = false;
            break;
        }
        const double len = std::sqrt(x * x + y * y + z * z);
        // A pole of length 0 or not a number is no plane at all.
        if (!(len > 0 && len <= GEM_MAX_POLE)) {
            good = false;
            break;
        }
        int32_t tier;
        if (!le::getI32(buffer, tier)) {
            good = false;
            break;
        }
        const int length = le::getByte(buffer);
        std::string text;
        if (length < 0 || (length > 0 && !readText(buffer, length, text)) || !skipRing(buffer)) {
            good = false;
            break;
        }
    }
    if (position != std::streambuf::pos_type(std::streambuf::off_type(-1)))
        buffer->pubseekpos(position, std::ios_base::in);
    in.clear();
    return good;
}

bool isGemFile(std::span<const unsigned char> bytes) {
    MemoryInput in(bytes);
    return isGemFile(in);
}

namespace {

// The design, then each preform it holds, each a record nested in the one before.
void readDesignChain(DesignRecord& record, DesignSettings settings, std::streambuf* buffer) {
    DesignRecord* design = &record;
    for (int depth = 0;; ++depth) {
        if (!readFacets(*design, buffer)) return;
        const bool complete = readSettings(*design, settings, buffer);
        design->stages.push_back({design->planes.size(), settings});
        if (!complete) return;
        const int length = le::getByte(buffer);
        std::string text;
        if (length <= 0 || !readText(buffer, length, text) || text != "preform") return;
        if (depth + 1 > GEM_MAX_PREFORM_DEPTH) {
            note(*design, DiagKind::Warning, DiagCode::FileGemDeepPreforms, strprintf(filemsg::GEM_DEEP_PREFORMS, GEM_MAX_PREFORM_DEPTH));
            return;
        }
        note(*design, DiagKind::Information, DiagCode::FileGemHasPreform, filemsg::GEM_HAS_PREFORM);
        design->preform = std::make_unique<DesignRecord>();
        design = design->preform.get();
        settings = DesignSettings{};  // a preform starts as a fresh stone
    }
}

}  // namespace

DesignRecord readGemRecord(std::istream& in, const DesignSettings& start) {
    DesignRecord record;
    if (std::streambuf* buffer = in.rdbuf()) readDesignChain(record, start, buffer);
    return record;
}

DesignRecord readGemRecord(std::span<const unsigned char> bytes, const DesignSettings& start) {
    MemoryInput in(bytes);
    return readGemRecord(in, start);
}

void readGem(Stone& stone, std::istream& in) {
    if (!in.rdbuf()) return;
    buildStone(stone, readGemRecord(in, settingsOf(stone)));
}

void readGem(Stone& stone, std::span<const unsigned char> bytes) {
    MemoryInput in(bytes);
    readGem(stone, in);
}

bool readGemFile(Stone& stone, const std::string& path) {
    std::string problem = readProblem(path);
    std::ifstream in;
    if (problem.empty()) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        stone.addNote(DiagKind::Warning, DiagCode::FileCannotOpenToRead, fileMessage(filemsg::CANNOT_OPEN_TO_READ, path, problem));
        return false;
    }
    readGem(stone, in);
    return true;
}

}  // namespace brevix
