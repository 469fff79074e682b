#pragma once
// The two texts a cutter reads: the statistics (refractive index, facet
// count, symmetry, proportions, volume) and the cutting-instruction table
// (sections, one row per tier with name, angle, indexes and instruction,
// then the footnote). Bytes are Windows-1252: the degree sign is 0xB0 and
// the superscript three 0xB3.
#include <cstdint>
#include <string>
#include <vector>

#include "kernel/stone.h"
#include "platform/diagnostics.h"

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

// For each facet of the design, whether its plane is exactly one of the
// preform's (all false without a preform). Such facets are cut with the
// preform and are not listed again.
std::vector<bool> preformMatches(const Stone& stone);

// The statistics text. Takes the bounds from stone.stats, so it needs
// computeBounds since the last change.
std::string statisticsText(const Stone& stone);

// Widths the callers lay the instruction text out for.
constexpr int CUT_LIST_WIDTH = 256;
constexpr int CLIPBOARD_WIDTH = 72;

// The instruction part and the footnote part. Callers that want the single
// buffer with a zero byte after each part take raw().
struct InstructionText {
    std::string instructions;
    std::string footnote;
    // The line (numbered as lineCounter counts) of the row that lists each
    // facet's tier, -1 for a facet the text does not list: by facet of the
    // design, and by facet of its preform. The rows of a preform's own
    // preform list no facet here.
    std::vector<int32_t> lineOfFacet;
    std::vector<int32_t> lineOfPreformFacet;
    // What working out the indexes had to say (a design without a gear says
    // so, once for each facet listed), for the caller to show.
    Diagnostics notes;
    std::string raw() const;
};

// Writes the instruction text laid out for `width` columns into `out`, adds
// the number of instruction lines to `lineCounter`, and returns the width
// the index column needs.
int instructionText(const Stone& stone, int width, int& lineCounter, InstructionText& out);

// The facet whose tier `line` of `text` lists: the design's first, else the
// preform's. Headings and continuation lines list none (facet -1).
struct ListedFacet {
    int32_t facet = -1;
    bool inPreform = false;
};
ListedFacet facetOnLine(const InstructionText& text, int32_t line);

}  // namespace brevix
