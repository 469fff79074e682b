#include "document/cut_commands.h"

#include "document/gem_doc.h"

namespace brevix {

void cutFromForm(CGemDoc& doc, const void* view) {
    DesignModel::Batch batch(doc.model());
    if (doc.cutNewFacets(view)) doc.pending().clearInfo();
    doc.pendingChanged(view);
}

void angleCommand(CGemDoc& doc, double angle) {
    DesignModel::Batch batch(doc.model());
    PendingFacet& pending = doc.pending();
    pending.setAngle(angle, false);
    if (pending.completeInfo() && doc.cutNewFacets()) pending.clearInfo();
    doc.pendingChanged();
}

void indexCommand(CGemDoc& doc, double index) {
    DesignModel::Batch batch(doc.model());
    PendingFacet& pending = doc.pending();
    pending.setIndex(index, false);
    if (pending.completeInfo() && doc.cutNewFacets()) pending.clearInfo();
    doc.pendingChanged();
}

}  // namespace brevix
