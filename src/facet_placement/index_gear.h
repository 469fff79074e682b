#pragma once
// The index gear: where index 0 lies and which way the notches run, and the
// state of the "Index Gear" dialog without its widgets.
#include <string>
#include <string_view>
#include <vector>

namespace brevix {

// The dialog's radio buttons, in their order.
enum class GearLocation { Top, Left, Right, Bottom, Other };

// Offset (the index at azimuth 0, +y) that puts the last notch at the named
// location, for a signed gear; Other has none (returns 0).
double locationOffset(GearLocation location, int gear);
// The named location an offset stands for, or Other.
GearLocation locationOfOffset(double offset, int gear);

// Tooth counts offered by the dialog's combo box.
const std::vector<int>& gearChoices();

struct IndexGearDialog {
    int teeth = 96;  // signed: negative runs clockwise
    double offset = 0;
    GearLocation location = GearLocation::Bottom;

    // The dialog as it opens on a stone's gear.
    static IndexGearDialog open(int gear, double indexOffset);

    // "Number of Teeth" changed or left; unreadable text keeps the count.
    void teethEdited(std::string_view text);
    void toggleClockwise();
    // One of the four named radio buttons, or Other (which only selects it).
    void selectLocation(GearLocation choice);
    // "Other bottom index:" field left; unreadable text keeps the offset.
    void offsetEdited(std::string_view text);
    void refresh();

    bool clockwise() const { return teeth < 0; }
    std::string teethText() const;   // "%d" of |teeth|
    std::string offsetText() const;  // "%.1f"
};

}  // namespace brevix
