#include "document/optimised_design.h"

#include <memory>

#include "document/gem_doc.h"

namespace brevix {

void applyDesignWithIntent(CGemDoc& doc, const Stone& design, const DesignIntent& intent, const std::string& name) {
    if (!doc.stone()) return;
    doc.model().apply({.name = name, .kind = GeometryChanged, .change = [&](DesignModel::Draft& d) {
                           d.replace(design);
                           d.intent() = intent;
                           return true;
                       }});
}

}  // namespace brevix
