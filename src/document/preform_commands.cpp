// The Preform menu and View Hidden Lines: document commands that change
// what the views show of the design.
#include "design/preform.h"
#include "document/gem_doc.h"

namespace brevix {

void CGemDoc::OnPreformDelete() {
    if (!stone()) return;
    saveUndo();
    deletePreform(*stone());
    updateAllViews();
}

void CGemDoc::OnPreformCreateCam() {
    if (!stone()) return;
    saveUndo();
    makeCamPreform(*stone());
    updateAllViews();
}

void CGemDoc::OnCopyToPreform() {
    if (!stone()) return;
    saveUndo();
    copyToPreform(*stone(), *stone());
    updateAllViews();
}

void CGemDoc::OnPreformEdit() {
    if (!stone()) return;
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
