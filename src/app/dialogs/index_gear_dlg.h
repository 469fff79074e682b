#pragma once
// Placeholder until the Index Gear dialog lands: the entry point the
// commands call to let the user choose the gear.
class QWidget;

namespace brevix {

class CGemDoc;

// Shows the Index Gear dialog on the document's stone; true when the user
// chose a gear (it is then set on the stone).
bool runIndexGearDialog(QWidget* parent, CGemDoc& doc);

}  // namespace brevix
