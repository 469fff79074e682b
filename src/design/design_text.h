#pragma once
// The two texts a cutter reads: the statistics (refractive index, facet
// count, symmetry, proportions, volume) and the cutting-instruction table
// (sections, one row per tier with name, angle, indexes and instruction,
// then the footnote). Bytes are Windows-1252: the degree sign is 0xB0 and
// the superscript three 0xB3.
#include <string>

#include "kernel/stone.h"

namespace brevix {

// Section codes of the instruction text.
enum Section : int { SECTION_NONE = 0, SECTION_PREFORM = 1, SECTION_PAVILION = 2, SECTION_CROWN = 3 };
const char* sectionName(int section);

// Which section heads the text and where girdle facets are listed.
struct Sections {
    int first = SECTION_NONE;
    int girdle = SECTION_CROWN;
};
Sections findSections(const Stone& stone);

// Sets PREFORM_MATCH on every facet whose plane is exactly one of the
// preform's (clears it everywhere first; nothing is set without a preform).
void markPreformMatches(Stone& stone);

// The statistics text. Needs computeBounds since the last change; stores L
// and W and computes the volume.
std::string statisticsText(Stone& stone);

// Widths the callers lay the instruction text out for.
constexpr int CUT_LIST_WIDTH = 256;
constexpr int CLIPBOARD_WIDTH = 72;

// The instruction part and the footnote part. Callers that want the single
// buffer with a zero byte after each part take raw().
struct InstructionText {
    std::string instructions;
    std::string footnote;
    std::string raw() const;
};

// Writes the instruction text laid out for `width` columns into `out`, adds
// the number of instruction lines to `lineCounter`, sets the `line` of every
// listed facet (of the preform too) and returns the width the index column
// needs.
int instructionText(Stone& stone, int width, int& lineCounter, InstructionText& out);

}  // namespace brevix
