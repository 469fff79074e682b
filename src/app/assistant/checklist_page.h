#pragma once
// The printable checklist of the cutting assistant: every step as a row with
// a box to tick, on as many pages as it takes, in the paper and orientation
// chosen for the diagram. Boxes of facets already marked cut come ticked.
#include <string>

class QPagedPaintDevice;

namespace brevix {

class AssistantSession;

// Paints the checklist on a printer or PDF writer; false when the device
// could not be painted on.
bool paintChecklist(QPagedPaintDevice& device, const AssistantSession& session,
                    const std::string& title, const std::string& heading);

}  // namespace brevix
