#pragma once
// The binary design format (.gem): every facet plane in cutting order with
// its tier, name, instruction and corner ring, then the design settings, the
// heading and footnote lines and optionally the preform as a whole second
// design. Reading rebuilds the polyhedron by cutting the stored planes.
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "files/design_record.h"
#include "kernel/stone.h"

namespace brevix {

constexpr double END_OF_FACETS = -99999.0;
constexpr int32_t OFFSET_AS_DOUBLE = 32767;
// Texts a reader accepts: a facet's name, tab and instruction; a line.
constexpr int GEM_MAX_FACET_TEXT = 79;
constexpr int GEM_MAX_LINE = 255;
// The pole of a valid facet: the facet lies at least 0.009 from the centre.
constexpr double GEM_MAX_POLE = 100;
// Preforms of preforms are legal; a deeper nesting than this is a broken file.
constexpr int GEM_MAX_PREFORM_DEPTH = 32;

// Structural check of the facet list; the stream position is left where it was.
bool isGemFile(std::istream& in);
bool isGemFile(std::span<const unsigned char> bytes);

// Reads the stream into a design record (the preform nested in it), without
// cutting anything; `start` are the settings of the stone it will be built into.
DesignRecord readGemRecord(std::istream& in, const DesignSettings& start = {});
DesignRecord readGemRecord(std::span<const unsigned char> bytes, const DesignSettings& start = {});

// Reads the stream into `stone`, a freshly constructed rough stone (half-size
// 1.02). Problems are reported through the messages sink; what was read stays.
void readGem(Stone& stone, std::istream& in);
void readGem(Stone& stone, std::span<const unsigned char> bytes);
// Opens the file itself; false (after "Cannot open %s to read") when it cannot.
bool readGemFile(Stone& stone, const std::string& path);

// Why the design cannot be written so that it reads back (a facet text over
// 79 characters, a line over 255), naming the facet or line; "" when it can.
std::string gemSaveProblem(const Stone& stone);

// Writes the design and its preform. Returns false without writing anything
// when gemSaveProblem finds a problem (noted as a warning, and the stream's
// failbit is set so that no caller mistakes the empty output for a saved
// design). What the writer changed or warns of ("Tabs in facet names…",
// the DOS line warning) is noted in the order it was said.
bool writeGem(const Stone& stone, std::ostream& out, Diagnostics& notes);
// Writes through a temporary file that replaces `path` only when complete;
// notes "Cannot open %s to write." or "Error writing %s. Disk full?" and
// returns false when it cannot.
bool writeGemFile(const Stone& stone, const std::string& path, Diagnostics& notes);

}  // namespace brevix
