#include "document/raytrace_commands.h"

#include "document/gem_doc.h"

namespace brevix {

void raytracePropertiesCommand(CGemDoc& doc, const RefractiveIndexDialog& runDialog) {
    Stone* stone = doc.stone();
    if (!stone) return;
    const std::optional<double> index = runDialog(stone->refractiveIndex);
    if (!index) return;
    // The index is saved with the design, so a new one is a change to save.
    if (*index != stone->refractiveIndex) doc.setModifiedFlag();
    stone->refractiveIndex = *index;
    stone->eraseRays();
    doc.updateAllViews();
}

void eraseRaysCommand(CGemDoc& doc) {
    if (Stone* stone = doc.stone()) stone->eraseRays();
    doc.updateAllViews();
}

}  // namespace brevix
