#include "facet_placement/index_gear.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "facet_placement/cut_facet_form.h"
#include "kernel/stone.h"
#include "platform/strformat.h"

namespace brevix {

double locationOffset(GearLocation location, int gear) {
    const double m = std::abs(gear);
    switch (location) {
    case GearLocation::Top:
        return m / 2;
    case GearLocation::Left:
        return gear < 0 ? m - m / 4 : m / 4;
    case GearLocation::Right:
        return gear < 0 ? m / 4 : m - m / 4;
    case GearLocation::Bottom:
    case GearLocation::Other:
        break;
    }
    return 0;
}

GearLocation locationOfOffset(double offset, int gear) {
    const double m = std::abs(gear);
    const auto near = [&](double value) { return std::fabs(offset - value) < 1e-6; };
    if (offset == 0) return GearLocation::Bottom;
    if (near(m / 2)) return GearLocation::Top;
    if (near(m / 4)) return gear >= 1 ? GearLocation::Left : GearLocation::Right;
    if (near(3 * m / 4)) return gear >= 0 ? GearLocation::Right : GearLocation::Left;
    return GearLocation::Other;
}

const std::vector<int>& gearChoices() {
    static const std::vector<int> choices = {32, 64, 72, 80, 84, 88, 96, 120, 360};
    return choices;
}

IndexGearDialog IndexGearDialog::open(int gear, double indexOffset) {
    IndexGearDialog dialog;
    dialog.teeth = gear;
    dialog.offset = indexOffset;
    dialog.location = locationOfOffset(indexOffset, gear);
    return dialog;
}

void IndexGearDialog::teethEdited(std::string_view text) {
    const std::optional<int> value = scanInt(text);
    // A count no design file could hold is not taken, like one that is no number.
    if (value && std::llabs(*value) <= MAX_GEAR_TEETH) {
        // The sign lives in the Clockwise box: a typed count takes the box's
        // direction, a typed negative count ticks it.
        teeth = (*value >= 0 && clockwise()) ? -*value : *value;
    }
    refresh();
}

void IndexGearDialog::toggleClockwise() {
    teeth = -teeth;
    if (offset != 0) offset = std::abs(teeth) - offset;
    refresh();
}

void IndexGearDialog::selectLocation(GearLocation choice) {
    location = choice;
    if (choice != GearLocation::Other) refresh();
}

void IndexGearDialog::offsetEdited(std::string_view text) {
    if (const std::optional<double> value = scanDouble(text)) offset = *value;
    location = locationOfOffset(offset, teeth);
}

void IndexGearDialog::refresh() {
    if (location != GearLocation::Other) offset = locationOffset(location, teeth);
    location = locationOfOffset(offset, teeth);
}

std::string IndexGearDialog::teethText() const { return strprintf("%d", std::abs(teeth)); }

std::string IndexGearDialog::offsetText() const { return strprintf("%.1f", offset); }

}  // namespace brevix
