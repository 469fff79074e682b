#include "document/optimised_design.h"

#include <memory>

#include "document/gem_doc.h"

namespace brevix {

void applyDesignWithIntent(CGemDoc& doc, const Stone& design, const DesignIntent& intent) {
    if (!doc.stone()) return;
    CGemDoc::Command command(doc);
    doc.saveUndo();
    doc.setStone(std::make_unique<Stone>(design));
    doc.recordedIntent = intent;
    doc.designChanged();
}

}  // namespace brevix
