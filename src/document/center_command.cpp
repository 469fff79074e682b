#include "document/center_command.h"

#include "design/measures.h"
#include "document/command_messages.h"
#include "document/gem_doc.h"
#include "document/stone_commands.h"
#include "kernel/kernel_error.h"
#include "platform/messages.h"

namespace brevix {

int centerAxesAfterToggle(int axes, CenterAxis box, bool checked) {
    if (!checked) return axes & ~box;
    if (box == CENTER_Z) return CENTER_Z;
    return (axes | box) & ~CENTER_Z;
}

namespace {

const char* problemWith(const CenterChoice& choice, const NewFacetInfo& info) {
    if ((choice.axes & (CENTER_X | CENTER_Y | CENTER_Z)) == 0) return cmdmsg::NO_AXIS;
    if (choice.method == CENTER_ON_POINT && info.nPoints < 1) return cmdmsg::NO_POINT;
    return nullptr;
}

}  // namespace

void centerCommand(CGemDoc& doc, const CenterDialogRunner& runDialog) {
    CenterChoice choice;
    for (;;) {
        const std::optional<CenterChoice> answer = runDialog(choice);
        if (!answer) return;
        choice = *answer;
        const char* problem = problemWith(choice, doc.pending().info);
        if (!problem) break;
        doc.say(problem);
    }
    const Stone* stone = doc.stone();
    if (!stone) return;
    DesignModel::Batch batch(doc.model());

    // Worked out on a copy, so a refused point leaves neither a change nor
    // an undo step behind.
    Stone centred(*stone);
    computeBounds(centred);
    computeVolume(centred);
    try {
        if (!centerStone(centred, choice.axes, choice.method, doc.pending().info.points[0])) {
            doc.say(cmdmsg::POINT_OUTSIDE);
            return;
        }
    } catch (const KernelError& error) {
        doc.say(error.what(), Icon::Error);
        return;
    }
    runStoneCommand(doc, "Center", [&](Stone& s) { s = std::move(centred); });
    if (choice.method == CENTER_ON_POINT) doc.pending().clearInfo();
    doc.takeSymmetryFromStone();
    doc.pendingChanged();
}

}  // namespace brevix
