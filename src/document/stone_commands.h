#pragma once
// Whole-stone commands of the Edit and Stone menus once their arguments are
// known: Transfer (turn the stone over to cut the other side), ReGenerate
// (rebuild the meet points from the planes and regroup the tiers), and the
// work behind the Rotate/Tilt, Reflect, Sort and Rename dialogs. Each one
// takes one undo snapshot, so one Undo takes the whole command back, and
// does nothing before there is a stone.
#include <functional>
#include <string>

#include "document/design_model.h"

namespace brevix {

class CGemDoc;
class Stone;

void transferCommand(CGemDoc& doc);
void regenerateCommand(CGemDoc& doc);
// Axis 0 = x tilt, 1 = y tilt, 2 = z (stone only), 3 = z with the index gear.
void rotateCommand(CGemDoc& doc, int axis, double radians);
// Side 0 = keep -y, 1 = keep +x, 2 = keep -x, 3 = keep +y.
void reflectCommand(CGemDoc& doc, int side, bool flip);
// 0 = pavilion-girdle-crown ... 3 = crown-girdle-pavilion.
void sortCommand(CGemDoc& doc, int order);
// Styles 0 = numbers, 1 = letters, 2 = P1.../C1...
void renameCommand(CGemDoc& doc, int pavilionStyle, int crownStyle);

// Every such command is one change of the design named `name` for Undo:
// on a kernel failure the design is as it was before, with the failure
// shown. False when there was no stone or the change failed.
bool runStoneCommand(CGemDoc& doc, const std::string& name, const std::function<void(Stone&)>& change,
                     DesignChanges kind = GeometryChanged);

}  // namespace brevix
