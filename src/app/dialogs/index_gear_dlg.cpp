#include "app/dialogs/index_gear_dlg.h"

namespace brevix {

// Placeholder: no dialog yet, so the gear stays as it is.
bool runIndexGearDialog(QWidget*, CGemDoc&) { return false; }

}  // namespace brevix
