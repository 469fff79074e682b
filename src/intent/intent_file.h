#pragma once
// The intent text format (.brx): a design together with its cutting intent,
// one line a tier, readable and friendly to line-by-line comparison:
//
//   Brevix intent 1
//   gear 96 0
//   symmetry 8 1
//   ri 1.54
//   heading 1 Standard%20Round%20Brilliant
//   tier -42 0.6914 3 8 1 | 3 9 15 ... | P2 P2 ... | meet 3 0:93 0:3 1:96 | Meet%20girdle
//
// A tier line holds angle, depth, the index the depth was found at,
// symmetry and mirror; then the indexes; the facet names ("-" for none);
// the depth rule; the instruction. Numbers are written in their shortest
// exact form, so a file read and written again is the same bytes. Texts
// are percent-encoded where they hold blanks, "%" or "|".
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
};

IntentFileRead readIntentText(std::span<const unsigned char> bytes);
// `intent` must describe the stone's planes (intentOf gives one that does).
std::string writeIntentText(const Stone& stone, const DesignIntent& intent);

// "Brevix intent 1".
const char* intentFileHeader();

}  // namespace brevix
