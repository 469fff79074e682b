#pragma once
// Stone > Center: the "Center" dialog's choices without their widgets, and
// the command that asks until the choice can be carried out.
#include <functional>
#include <optional>

#include "design/transforms.h"

namespace brevix {

class CGemDoc;

struct CenterChoice {
    int axes = CENTER_Z;            // CenterAxis bits
    int method = CENTER_OF_MASS;    // CenterMode: mass, (max+min)/2 or point 1
};

// The axes after the user checked or cleared one box: X and Y slide the
// stone sideways, Z along the dop, and the two kinds exclude each other.
int centerAxesAfterToggle(int axes, CenterAxis box, bool checked);

// Shows the dialog (starting from the previous choice) until it ends with a
// choice that can be carried out, telling the user why one cannot; Cancel
// (none) ends the command. Then one snapshot and the stone moved; a point
// that is not inside the stone is refused with a message and no change.
using CenterDialogRunner = std::function<std::optional<CenterChoice>(const CenterChoice&)>;
void centerCommand(CGemDoc& doc, const CenterDialogRunner& runDialog);

}  // namespace brevix
