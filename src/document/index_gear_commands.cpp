// Edit > Index Gear and the rounding to whole notches offered after a Scale.
#include "document/index_gear_commands.h"

#include <string>

#include "document/gem_doc.h"
#include "facet_placement/gear_ranking.h"
#include "facet_placement/round_indexes.h"
#include "kernel/kernel_error.h"
#include "platform/busy_cursor.h"
#include "platform/messages.h"

namespace brevix {

void setIndexGear(CGemDoc& doc, int gear, double offset) {
    doc.ensureStone();
    // The gear is the design's own, saved with it, but no undo entry keeps it.
    DesignModel::Batch batch(doc.model());
    doc.model().apply({.name = {},
                       .kind = SettingsChanged,
                       .change =
                           [&](DesignModel::Draft& d) {
                               d.stone().gear = gear;
                               d.stone().indexOffset = offset;
                               return true;
                           },
                       .keep = DesignModel::Keep::None});
    doc.pendingChanged();
}

void indexGearCommand(CGemDoc& doc, const GearDialogRunner& runDialog) {
    const Stone& stone = doc.ensureStone();
    if (const std::optional<IndexGearDialog> chosen =
            runDialog(IndexGearDialog::open(stone.gear, stone.indexOffset)))
        setIndexGear(doc, chosen->teeth, chosen->offset);
}

void offerIndexRounding(CGemDoc& doc, const GearDialogRunner& runDialog) {
    offerIndexRounding(doc, std::function<void()>([&] { indexGearCommand(doc, runDialog); }));
}

void offerIndexRounding(CGemDoc& doc, const std::function<void()>& chooseGear) {
    // The views already show the scaled stone the question is about: the
    // scale was a command of its own.
    if (!doc.stone()) return;
    // Without a dialog to choose the gear there is nothing sensible to round to.
    const Answer answer =
        doc.ask(gearRankingText(*doc.stone()), Buttons::YesNoCancel, Icon::Question, Answer::No);
    if (answer != Answer::Yes) return;
    DesignModel::Batch batch(doc.model());
    if (chooseGear) chooseGear();
    std::string failure;
    Icon failureIcon = Icon::Warning;
    {
        BusyCursor busy(doc.busyIndicator);
        // The end of the Scale, whose undo entry keeps the design before both.
        doc.model().apply({.name = {},
                           .kind = GeometryChanged,
                           .change =
                               [&](DesignModel::Draft& d) {
                                   Stone rounded(d.stone());
                                   try {
                                       if (roundIndexes(rounded) != 0) failure = "Cannot round indexes.";
                                   } catch (const KernelError& error) {
                                       failure = error.what();
                                       failureIcon = Icon::Error;
                                   }
                                   if (!failure.empty()) return false;
                                   d.replace(std::move(rounded));
                                   return true;
                               },
                           .keep = DesignModel::Keep::None});
    }
    // Told once the wait cursor has gone, so the message box has an ordinary one.
    if (!failure.empty()) doc.say(failure, failureIcon);
    doc.takeSymmetryFromStone();
    doc.pendingChanged();
}

}  // namespace brevix
