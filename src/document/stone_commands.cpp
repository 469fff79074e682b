#include "document/stone_commands.h"

#include <memory>

#include "design/tiers.h"
#include "design/transforms.h"
#include "document/gem_doc.h"
#include "kernel/kernel_error.h"
#include "platform/busy_cursor.h"
#include "platform/messages.h"

namespace brevix {

bool runStoneCommand(CGemDoc& doc, const std::string& name, const std::function<void(Stone&)>& change,
                     DesignChanges kind) {
    return doc.model().apply({.name = name, .kind = kind, .change = [&](DesignModel::Draft& d) {
                                  change(d.stone());
                                  return true;
                              }});
}

void transferCommand(CGemDoc& doc) {
    runStoneCommand(doc, "Transfer", [](Stone& stone) { transfer(stone); });
}

void regenerateCommand(CGemDoc& doc) {
    runStoneCommand(doc, "Regenerate", [](Stone& stone) {
        stone.regenerate();
        regroupTiers(stone, false);
    });
}

void rotateCommand(CGemDoc& doc, int axis, double radians) {
    runStoneCommand(doc, "Rotate", [&](Stone& stone) { rotateStone(stone, axis, radians); });
}

void reflectCommand(CGemDoc& doc, int side, bool flip) {
    DesignModel::Batch batch(doc.model());
    runStoneCommand(doc, "Reflect", [&](Stone& stone) {
        // Every plane is cut anew into a fresh block, twice on the kept side.
        BusyCursor busy(doc.busyIndicator);
        reflectHalf(stone, side, flip);
    });
    // The reflected design has its own symmetry, which the next cut uses.
    doc.takeSymmetryFromStone();
    doc.pendingChanged();
}

void sortCommand(CGemDoc& doc, int order) {
    runStoneCommand(doc, "Sort", [&](Stone& stone) { sortCuttingOrder(stone, order); }, NamesChanged);
}

void renameCommand(CGemDoc& doc, int pavilionStyle, int crownStyle) {
    runStoneCommand(doc, "Rename", [&](Stone& stone) { renameInSequence(stone, pavilionStyle, crownStyle); },
                    NamesChanged);
}

}  // namespace brevix
