#pragma once
// The intent text format (.brx): a design together with its cutting intent,
// one line a tier, readable and friendly to line-by-line comparison:
//
//   Brevix intent 2
//   gear 96 0
//   symmetry 8 1
//   ri 1.54
//   heading 1 Standard%20Round%20Brilliant
//   tier -42 0.6914 3 8 1 | 3 9 15 ... | P2 P2 ... | meet 3 0:93 0:3 1:96 | Meet%20girdle
//   end
//
// A tier line holds angle, depth, the index the depth was found at,
// symmetry and mirror; then the indexes; the facet names ("-" for none);
// the depth rule; the instruction. Numbers are written in their shortest
// exact form, so a file read and written again is the same bytes. Texts
// are percent-encoded where they hold blanks, "%" or "|".
//
// The end line is written last, so a file cut short at a line end is told
// from a whole one. Files of version 1 ("Brevix intent 1") came before it:
// they are read as they stand, with a note that they cannot show whether
// they are whole.
#include <cstddef>
#include <istream>
#include <span>
#include <string>

#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix {

struct IntentFileRead {
    Stone stone;
    DesignIntent intent;
    // Empty when the whole file was read; otherwise why reading stopped
    // (the stone and intent hold the tiers before that line).
    std::string problem;
    bool isIntentFile = false;  // the first line was the format's own
    // Said of a file read whole that the user should still hear: one from
    // before the end line. Empty otherwise.
    std::string note;
};

// Reads line by line: memory stays bounded by the longest line and the
// most tiers the format holds, whatever the stream's size.
IntentFileRead readIntentText(std::istream& in);
IntentFileRead readIntentText(std::span<const unsigned char> bytes);
// `intent` must describe the stone's planes (intentOf gives one that does).
std::string writeIntentText(const Stone& stone, const DesignIntent& intent);

// "Brevix intent 2": the header this program writes.
const char* intentFileHeader();

// The limits of what a .brx file can hold; the reader stops at a tier
// beyond them, so nothing may be written (or cut) past them.
inline constexpr size_t MAX_INTENT_TIERS = 2000;
inline constexpr size_t MAX_INTENT_TIER_FACETS = 10000;
inline constexpr size_t MAX_INTENT_LINE_BYTES = size_t(4) << 20;

// Why the intent could not be written as a .brx file that reads back
// (too many tiers, a tier of too many facets or too great a symmetry);
// "" when it can.
std::string intentLimitProblem(const DesignIntent& intent);

}  // namespace brevix
