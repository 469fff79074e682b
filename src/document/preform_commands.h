#pragma once
// The Preform menu and View Hidden Lines: document commands that change
// what the views show of the design. Each does nothing before there is a stone.
namespace brevix {

class CGemDoc;

void deletePreformCommand(CGemDoc& doc);
void camPreformCommand(CGemDoc& doc);
void copyToPreformCommand(CGemDoc& doc);
// Sets the design aside to work on its preform, or brings it back with the
// edited preform.
void editPreformCommand(CGemDoc& doc);
// The Edit Preform item's check: the design is set aside.
bool editingPreform(const CGemDoc& doc);
void hiddenLinesCommand(CGemDoc& doc);

}  // namespace brevix
