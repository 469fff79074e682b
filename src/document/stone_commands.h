#pragma once
// Whole-stone commands of the Edit and Stone menus that need no dialog:
// Transfer (turn the stone over to cut the other side) and ReGenerate
// (rebuild the meet points from the planes and regroup the tiers).
namespace brevix {

class CGemDoc;

void transferCommand(CGemDoc& doc);
void regenerateCommand(CGemDoc& doc);

}  // namespace brevix
