#pragma once
// The design as a cutter works through it at the machine: one step per
// facet (or per tier), in the order the cutting instructions list them, with
// a "Transfer the stone" step wherever the work moves from one side of the
// stone to the other. Angles and indexes are the ones the instructions show,
// that is, as set on the machine: pavilion angles positive, pavilion indexes
// counted as seen from the other side of the dop.
#include <cstdint>
#include <string>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

enum class StepKind { Facet, Tier, Transfer };

struct CuttingStep {
    StepKind kind = StepKind::Facet;
    int section = 0;   // SECTION_PAVILION, SECTION_CROWN or SECTION_PREFORM; 0 for a transfer
    int tier = -1;     // row of the instructions (0-based, counting rows only); -1 for a transfer
    std::string tierName;     // may be empty
    std::string instruction;  // the tier's, may be empty
    double angle = 0;         // degrees as set on the machine
    // The index of a facet step, or every index of a tier step, in the order
    // the instructions list them, with the texts they print them as.
    std::vector<double> indexes;
    std::vector<std::string> indexTexts;
    // The facet number (in the stone) of each index.
    std::vector<int32_t> facets;
    // The facet step's mirror partner in the same tier ("" when it has none
    // or is its own mirror image).
    std::string mirrorText;
    bool isTable = false;  // a level facet: the instructions say "Table" or "Culet"
};

struct CuttingPlan {
    std::vector<CuttingStep> steps;
    int tierCount = 0;
    int facetCount = 0;  // facets the steps cover
};

// The steps for a design. `byTier`: one step per tier instead of one per facet.
CuttingPlan cuttingPlan(const Stone& stone, bool byTier);

// The index list of a step joined as the instructions print it ("03-09-15").
std::string joinedIndexes(const CuttingStep& step);

}  // namespace brevix
