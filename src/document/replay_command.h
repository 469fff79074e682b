#pragma once
// View > Replay: the design cut again from the rough block one facet at a
// time, the newest facet marked by a "+" after its name, while the design
// itself waits aside and comes back untouched.
#include <functional>
#include <string>

namespace brevix {

class CGemDoc;

// What the "Current Facet" dialog shows for the facet just cut.
struct CurrentFacetTexts {
    std::string name;   // the facet's own name
    std::string angle;  // "%.2f", a pavilion angle shown positive
    std::string index;  // "%.2f", on the pavilion counted from the other side of the gear
};

// Shows the dialog for one facet; true for "Next", false for "Cancel".
using ReplayStep = std::function<bool(const CurrentFacetTexts&)>;

// Nothing without a stone. The views are redrawn after every facet; at the
// end or on Cancel the document holds the design again, unmodified.
void replayCommand(CGemDoc& doc, const ReplayStep& step);

}  // namespace brevix
