#include "app/size_weight_command.h"

#include "app/dialogs/size_weight_dlg.h"
#include "document/gem_doc.h"
#include "document/size_settings.h"

namespace brevix {

void sizeAndWeightCommand(CGemDoc& doc, QWidget* parent) {
    SizeWeightDlg dialog(doc.ensureStone(), loadSizeSettings(), parent);
    dialog.exec();
    // Nothing of the design changes: closing keeps what was typed.
    const SizeSettings chosen = dialog.settings();
    saveSizeSettings(chosen);
    doc.meshSize = chosen.size;
}

void loadMeshSize(CGemDoc& doc) { doc.meshSize = loadSizeSettings().size; }

}  // namespace brevix
