#pragma once
// What the assistant says about a step: the large heading, the machine
// settings, the smaller line for the next step, the progress line, the words
// read aloud and the rows of the printed checklist. Texts are Windows-1252
// like every text of the core (the degree sign is 0xB0).
#include <string>
#include <vector>

#include "assistant/assistant_session.h"
#include "assistant/cutting_steps.h"
#include "intent/intent.h"

namespace brevix {

// "Pavilion", "Crown", "Preform", or "Transfer the stone".
std::string stepSide(const CuttingStep& step);
// "P1  40.75\xB0  index 96" (a tier step lists all its indexes).
std::string stepSetting(const CuttingStep& step);
// Heading line: "Pavilion: P1" (a transfer says what it is).
std::string stepTitle(const CuttingStep& step);
// One line for the step after the current one: "Next: P1 40.75\xB0 index 12".
std::string nextStepLine(const CuttingStep* next);
// "Facet 9 of 73    Tier 2 of 7", "Step 41 of 75: transfer the stone" at a
// transfer, or "All 73 facets cut" at the end.
std::string progressLine(const AssistantSession& session);
// The words read aloud: "Crown mains, forty-two degrees, index ninety-six".
std::string spokenStep(const CuttingStep& step);
// For a tier the design gives no instruction: what its depth was placed by,
// as the cutter looks for it on the stone: "Meet G 3, G 93, P1 96". Empty
// for a transfer and for a tier whose depth was typed. `intent` describes
// `stone`'s planes.
std::string recordedMeetLine(const Stone& stone, const DesignIntent& intent, const CuttingStep& step);
// A number in words: 42 -> "forty-two", 40.75 -> "forty point seven five".
std::string numberWords(double value);

}  // namespace brevix
