#include "document/preform_commands.h"

#include "design/preform.h"
#include "document/gem_doc.h"
#include "document/stone_commands.h"
#include "kernel/kernel_error.h"

namespace brevix {

void deletePreformCommand(CGemDoc& doc) {
    runStoneCommand(doc, "Delete Preform", [](Stone& stone) { deletePreform(stone); });
}

// Both cut planes into a copy of the design; a kernel failure puts the
// design back as the snapshot holds it.
void camPreformCommand(CGemDoc& doc) {
    runStoneCommand(doc, "Create CAM Preform", [](Stone& stone) { makeCamPreform(stone); });
}

void copyToPreformCommand(CGemDoc& doc) {
    runStoneCommand(doc, "Copy to Preform", [](Stone& stone) { copyToPreform(stone, stone); });
}

void editPreformCommand(CGemDoc& doc) {
    if (!doc.stone()) return;
    // No undo entry: the switch changes which stone is worked on, not a design.
    doc.model().apply({.name = {},
                       .kind = WholeDesign | PendingChanged,
                       .change =
                           [&doc](DesignModel::Draft& d) {
                               if (doc.hiddenDesign)
                                   leavePreformEdit(d.held(), doc.hiddenDesign);
                               else
                                   enterPreformEdit(d.held(), doc.hiddenDesign);
                               doc.ensureStone();
                               return true;
                           },
                       .keep = DesignModel::Keep::None});
}

bool editingPreform(const CGemDoc& doc) { return doc.hiddenDesign != nullptr; }

void hiddenLinesCommand(CGemDoc& doc) {
    doc.hiddenLines = !doc.hiddenLines;
    doc.model().announce(SettingsChanged);
}

}  // namespace brevix
