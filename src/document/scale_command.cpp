#include "document/scale_command.h"

#include <cmath>

#include "design/measures.h"
#include "design/transforms.h"
#include "facet_placement/cut_facet_form.h"
#include "document/command_messages.h"
#include "document/gem_doc.h"
#include "document/index_gear_commands.h"
#include "document/stone_commands.h"
#include "files/c_numbers.h"
#include "platform/messages.h"

namespace brevix {

void ScaleDirections::toggle(ScaleBox box, bool checked) {
    if (box == ScaleBox::All) {
        all = checked;
        x = minusY = plusY = crown = pavilion = checked;
        return;
    }
    all = false;
    switch (box) {
    case ScaleBox::X:
        x = checked;
        if (checked) minusY = plusY = crown = pavilion = false;
        break;
    case ScaleBox::MinusY:
    case ScaleBox::PlusY:
        (box == ScaleBox::MinusY ? minusY : plusY) = checked;
        if (checked) x = crown = pavilion = false;
        break;
    case ScaleBox::Crown:
    case ScaleBox::Pavilion:
        (box == ScaleBox::Crown ? crown : pavilion) = checked;
        if (checked) x = minusY = plusY = false;
        break;
    case ScaleBox::All:
        break;
    }
}

bool ScaleDirections::isChecked(ScaleBox box) const {
    switch (box) {
    case ScaleBox::X: return x;
    case ScaleBox::MinusY: return minusY;
    case ScaleBox::PlusY: return plusY;
    case ScaleBox::Crown: return crown;
    case ScaleBox::Pavilion: return pavilion;
    case ScaleBox::All: return all;
    }
    return false;
}

int ScaleDirections::sides() const {
    return (x ? 3 : 0) | (minusY ? 4 : 0) | (plusY ? 8 : 0) | (pavilion ? 16 : 0) | (crown ? 32 : 0);
}

double readScaleAmount(std::string_view text) {
    const std::optional<double> amount = scanDouble(text);
    if (!amount || std::fabs(*amount) < 1e-5) return 1;
    return *amount;
}

std::string scaleAmountText(double amount) {
    std::string text;
    appendFixed(text, amount, 4);
    return text;
}

void scaleCommand(CGemDoc& doc, int sides, double factor, const std::function<void()>& chooseGear) {
    if (!doc.stone() || sides == 0) return;
    if (!(factor >= 0) || !std::isfinite(factor)) {
        doc.say(cmdmsg::SCALE_NOT_POSITIVE);
        return;
    }
    // Multiplying by 1 changes nothing; no snapshot, no ranking.
    if (factor == 1) return;
    const bool scaled = runStoneCommand(doc, "Scale", [&](Stone& stone) {
        // The pivots are the girdle and the sides as the stone is now.
        computeBounds(stone);
        scaleStone(stone, sides, factor);
    });
    if (scaled) offerIndexRounding(doc, chooseGear);
}

}  // namespace brevix
