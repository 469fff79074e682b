#pragma once
// The text design format (.asc): for each tier an angle and a depth, then
// the indexes cut at that setting, with facet names and the tier's cutting
// instruction. Reading rebuilds the polyhedron by cutting every plane, in
// file order, into the fresh rough stone the caller gives.
#include <iosfwd>
#include <span>
#include <string>

#include "files/design_record.h"
#include "kernel/stone.h"

namespace brevix {

// Whether the stream starts with the header "Brevix" and a version of at
// least 3.99. The stream position is left where it was.
bool isAscFile(std::istream& in);
bool isAscFile(std::span<const unsigned char> bytes);

// Reads the whole stream into a design record, without cutting anything;
// `start` are the settings of the stone it will be built into.
DesignRecord readAscRecord(std::istream& in, const DesignSettings& start = {});
DesignRecord readAscRecord(std::span<const unsigned char> bytes, const DesignSettings& start = {});

// Reads the whole stream into `stone`, a freshly constructed rough stone.
// Problems are reported through the messages sink; what was read stays.
void readAsc(Stone& stone, std::istream& in);
void readAsc(Stone& stone, std::span<const unsigned char> bytes);
// Opens the file itself; false (after "Cannot open %s to read") when it cannot.
bool readAscFile(Stone& stone, const std::string& path);

// Why the design cannot be written as text so that it reads back (a text
// too long for the reader's lines), or "" when it can.
std::string ascSaveProblem(const Stone& stone);

// Writes the design. Returns false without writing anything when
// ascSaveProblem finds a problem (noted as a warning, and the stream's
// failbit is set so that no caller mistakes the empty output for a saved
// design). What the writer had to change in names or lines is noted.
bool writeAsc(const Stone& stone, std::ostream& out, Diagnostics& notes);
// The facet records of one stone (without header, settings or lines).
void writeAscFacets(const Stone& stone, std::ostream& out);
// Writes through a temporary file that replaces `path` only when complete;
// notes "Cannot open %s to write." or "Error writing %s. Disk full?" and
// returns false when it cannot.
bool writeAscFile(const Stone& stone, const std::string& path, Diagnostics& notes);

}  // namespace brevix
