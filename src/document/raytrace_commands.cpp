#include "document/raytrace_commands.h"

#include "document/gem_doc.h"

namespace brevix {

void raytracePropertiesCommand(CGemDoc& doc, const RefractiveIndexDialog& runDialog) {
    const Stone* stone = doc.stone();
    if (!stone) return;
    const std::optional<double> index = runDialog(stone->refractiveIndex);
    if (!index) return;
    // The index is saved with the design, so a new one is a change to save;
    // no undo entry keeps it.
    doc.model().apply({.name = {}, .kind = SettingsChanged,
                       .change =
                           [&](DesignModel::Draft& d) {
                               d.stone().refractiveIndex = *index;
                               d.stone().eraseRays();
                               return true;
                           },
                       .keep = DesignModel::Keep::None,
                       .marksModified = *index != stone->refractiveIndex});
}

void eraseRaysCommand(CGemDoc& doc) {
    DesignModel::Batch batch(doc.model());
    doc.model().apply({.name = {}, .kind = SettingsChanged,
                       .change =
                           [](DesignModel::Draft& d) {
                               d.stone().eraseRays();
                               return true;
                           },
                       .keep = DesignModel::Keep::None});
    doc.model().announce(SettingsChanged);
}

}  // namespace brevix
