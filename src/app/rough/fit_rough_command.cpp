#include "app/rough/fit_rough_command.h"

#include "app/rough/fit_rough_dlg.h"
#include "document/gem_doc.h"

namespace brevix {

void fitIntoRoughCommand(CGemDoc& doc, QWidget* parent) {
    // Nothing of the open design changes: the dialog fits a copy of it.
    const Stone* open = doc.stone();
    roughfit::FitRoughDlg dialog(open, QString::fromStdString(doc.files().title()), parent);
    dialog.exec();
}

}  // namespace brevix
