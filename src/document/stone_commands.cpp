#include "document/stone_commands.h"

#include <memory>

#include "design/tiers.h"
#include "design/transforms.h"
#include "document/gem_doc.h"
#include "kernel/kernel_error.h"
#include "platform/busy_cursor.h"
#include "platform/messages.h"

namespace brevix {

bool runStoneCommand(CGemDoc& doc, const std::function<void(Stone&)>& change) {
    return doc.changeStone(change);
}

void transferCommand(CGemDoc& doc) {
    runStoneCommand(doc, [](Stone& stone) { transfer(stone); });
}

void regenerateCommand(CGemDoc& doc) {
    runStoneCommand(doc, [](Stone& stone) {
        stone.regenerate();
        regroupTiers(stone, false);
    });
}

void rotateCommand(CGemDoc& doc, int axis, double radians) {
    runStoneCommand(doc, [&](Stone& stone) { rotateStone(stone, axis, radians); });
}

void reflectCommand(CGemDoc& doc, int side, bool flip) {
    CGemDoc::Command command(doc);
    runStoneCommand(doc, [&](Stone& stone) {
        // Every plane is cut anew into a fresh block, twice on the kept side.
        BusyCursor busy(doc.busyIndicator);
        reflectHalf(stone, side, flip);
    });
    // The reflected design has its own symmetry, which the next cut uses.
    doc.takeSymmetryFromStone();
    doc.redrawForm();
}

void sortCommand(CGemDoc& doc, int order) {
    runStoneCommand(doc, [&](Stone& stone) { sortCuttingOrder(stone, order); });
}

void renameCommand(CGemDoc& doc, int pavilionStyle, int crownStyle) {
    runStoneCommand(doc, [&](Stone& stone) { renameInSequence(stone, pavilionStyle, crownStyle); });
}

}  // namespace brevix
