// The Preform menu and View Hidden Lines: document commands that change
// what the views show of the design.
#include "design/preform.h"
#include "document/gem_doc.h"
#include "kernel/kernel_error.h"

namespace brevix {

void CGemDoc::OnPreformDelete() {
    changeStone([](Stone& stone) { deletePreform(stone); });
}

// Both cut planes into a copy of the design; a kernel failure puts the
// design back as the snapshot holds it.
void CGemDoc::OnPreformCreateCam() {
    changeStone([](Stone& stone) { makeCamPreform(stone); });
}

void CGemDoc::OnCopyToPreform() {
    changeStone([](Stone& stone) { copyToPreform(stone, stone); });
}

void CGemDoc::OnPreformEdit() {
    if (!stone()) return;
    Command command(*this);
    // No snapshot: the switch changes which stone is worked on, not a design.
    if (hiddenDesign)
        leavePreformEdit(stone_, hiddenDesign);
    else
        enterPreformEdit(stone_, hiddenDesign);
    refreshSummary();
    redrawForm();
    updateAllViews();
}

void CGemDoc::OnHiddenLines() {
    hiddenLines = !hiddenLines;
    updateAllViews();
}

}  // namespace brevix
