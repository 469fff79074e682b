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
    doc.files().meshSize = chosen.size;
}

void loadMeshSize(CGemDoc& doc) { doc.files().meshSize = loadSizeSettings().size; }

}  // namespace brevix
