#pragma once
// Stone > Scale: the "Scale: Stretch or Shrink" dialog's check boxes and
// amounts without their widgets, and the command that scales and then
// offers to round the indexes to the best common gear.
#include <functional>
#include <string>
#include <string_view>

namespace brevix {

class CGemDoc;

// The "Direction" check boxes, in their order.
enum class ScaleBox { X, MinusY, PlusY, Crown, Pavilion, All };

struct ScaleDirections {
    bool x = false, minusY = false, plusY = false, crown = false, pavilion = false, all = false;

    // The user checked or cleared `box`: an axis excludes the other two
    // (both sides of one axis may go together), any single box clears
    // "All", and "All" checks or clears all five.
    void toggle(ScaleBox box, bool checked);
    bool isChecked(ScaleBox box) const;
    // The scaleStone bits: "X <->" 3, "-Y" 4, "+Y" 8, "-Z (Pavilion)" 16, "Z (Crown)" 32.
    int sides() const;
    // "Automatic" fits the whole stone into the unit cube, so it needs all five.
    bool automaticEnabled() const { return x && minusY && plusY && crown && pavilion; }
};

// "Multiply by:" and "Divide by:" as read on leaving the field: "%lf", with
// unreadable text and values within 1e-5 of zero taken as 1.
double readScaleAmount(std::string_view text);
// "%.4f".
std::string scaleAmountText(double amount);

// The dialog's result: OK with the two amounts, or "Automatic" (factor 0).
// No direction acts as Cancel; a factor that is not positive is refused with
// a message, since it would turn the stone inside out. After a scale that
// changed the stone the gear ranking is shown; on Yes `chooseGear` opens the
// Index Gear dialog and the indexes are rounded.
void scaleCommand(CGemDoc& doc, int sides, double factor, const std::function<void()>& chooseGear);

}  // namespace brevix
