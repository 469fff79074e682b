#pragma once
// The commands that finish the pending facet and cut it: Edit Angle... and
// Index... (set, complete, and cut when complete) and the form's "Cut Facet"
// button (cut, then start a fresh pending facet). Each is one change for
// the window, however many steps it takes.
namespace brevix {

class CGemDoc;

void angleCommand(CGemDoc& doc, double angle);
void indexCommand(CGemDoc& doc, double index);
// `view` is the view that asked, passed on to the view update.
void cutFromForm(CGemDoc& doc, const void* view);

}  // namespace brevix
