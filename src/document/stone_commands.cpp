#include "document/stone_commands.h"

#include <memory>

#include "design/tiers.h"
#include "design/transforms.h"
#include "document/gem_doc.h"
#include "kernel/kernel_error.h"
#include "platform/messages.h"

namespace brevix {

namespace {

template <typename Change>
void runOnStone(CGemDoc& doc, Change&& change) {
    Stone* stone = doc.stone();
    if (!stone) return;
    doc.saveUndo();
    try {
        change(*stone);
    } catch (const KernelError& error) {
        // The snapshot just taken is the design as it was before the command.
        const Stone* before = doc.undoRing.latest();
        doc.setStone(before ? std::make_unique<Stone>(*before) : std::make_unique<Stone>(ROUGH_HALF));
        showMessage(error.what(), Icon::Error);
    }
    doc.refreshSummaryValues();
    doc.redrawForm();
    doc.updateAllViews();
}

}  // namespace

void transferCommand(CGemDoc& doc) {
    runOnStone(doc, [](Stone& stone) { transfer(stone); });
}

void regenerateCommand(CGemDoc& doc) {
    runOnStone(doc, [](Stone& stone) {
        stone.regenerate();
        regroupTiers(stone, false);
    });
}

}  // namespace brevix
