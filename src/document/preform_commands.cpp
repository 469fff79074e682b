// The Preform menu and View Hidden Lines: document commands that change
// what the views show of the design.
#include "design/preform.h"
#include "document/gem_doc.h"
#include "document/stone_commands.h"
#include "kernel/kernel_error.h"

namespace brevix {

void CGemDoc::OnPreformDelete() {
    runStoneCommand(*this, "Delete Preform", [](Stone& stone) { deletePreform(stone); });
}

// Both cut planes into a copy of the design; a kernel failure puts the
// design back as the snapshot holds it.
void CGemDoc::OnPreformCreateCam() {
    runStoneCommand(*this, "Create CAM Preform", [](Stone& stone) { makeCamPreform(stone); });
}

void CGemDoc::OnCopyToPreform() {
    runStoneCommand(*this, "Copy to Preform", [](Stone& stone) { copyToPreform(stone, stone); });
}

void CGemDoc::OnPreformEdit() {
    if (!stone()) return;
    // No undo entry: the switch changes which stone is worked on, not a design.
    model_.apply({.name = {}, .kind = WholeDesign | PendingChanged,
                  .change =
                      [this](DesignModel::Draft& d) {
                          if (hiddenDesign)
                              leavePreformEdit(d.held(), hiddenDesign);
                          else
                              enterPreformEdit(d.held(), hiddenDesign);
                          ensureStone();
                          return true;
                      },
                  .keep = DesignModel::Keep::None});
}

void CGemDoc::OnHiddenLines() {
    hiddenLines = !hiddenLines;
    model_.announce(SettingsChanged);
}

}  // namespace brevix
