#pragma once
// The Raytrace menu: the refractive index the rays are traced with, and
// erasing the rays drawn so far.
#include <functional>
#include <optional>

namespace brevix {

class CGemDoc;

// Shows the Raytrace Properties dialog opened on `current`; the index on OK,
// nothing on Cancel.
using RefractiveIndexDialog = std::function<std::optional<double>(double current)>;

// Raytrace > Properties...: without a stone nothing happens; on OK the stone
// takes the index and its rays are erased (they were traced with the old one).
void raytracePropertiesCommand(CGemDoc& doc, const RefractiveIndexDialog& runDialog);
// Raytrace > Erase Rays (Ctrl+D, key D in the views).
void eraseRaysCommand(CGemDoc& doc);

}  // namespace brevix
