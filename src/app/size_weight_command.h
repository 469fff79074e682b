#pragma once
// Stone > Size and Weight, and the size it leaves for the mesh exports.
class QWidget;

namespace brevix {

class CGemDoc;

// Shows the dialog for the document's stone; on closing, the size and
// material are remembered and File > Export writes its meshes at that size.
void sizeAndWeightCommand(CGemDoc& doc, QWidget* parent);

// The remembered size for the mesh exports, before File > Export.
void loadMeshSize(CGemDoc& doc);

}  // namespace brevix
