#pragma once
// File > Fit into Rough: the dialog, on the open design when there is one.
class QWidget;

namespace brevix {

class CGemDoc;

void fitIntoRoughCommand(CGemDoc& doc, QWidget* parent);

}  // namespace brevix
