#pragma once
// The amount of the "Rotate or Tilt" dialog: how the typed text is read and
// shown, and how each unit turns into radians.
#include <optional>
#include <string>
#include <string_view>

namespace brevix {

// The "Units" radio buttons, in their order.
enum class RotateUnit { Degrees, IndexNotches, QuarterRevolutions };

// The leading number of the text; 0 when there is none or it is too large
// to be a number at all.
double readRotateAmount(std::string_view text);
// "%.3f".
std::string rotateAmountText(double amount);

// Radians for `amount` in `unit` on a gear of `gear` notches (its sign is
// ignored). None for index notches on a gear of 0 notches, which have no size.
std::optional<double> rotationRadians(double amount, RotateUnit unit, int gear);

}  // namespace brevix
