#pragma once
// Stone > Meet Tolerance remembers its value from one run to the next, below
// HKEY_CURRENT_USER\Software\Brevix\Intent: how far (a share of W) a plane
// of a design that kept no intent may miss a meet and still be taken as cut
// to it.
namespace brevix {

// The stored tolerance, or the default when none is stored or it is out of range.
double loadMeetTolerance();
// False when the key cannot be written.
bool saveMeetTolerance(double share);

// The tolerances the window accepts: beyond a thousandth of W a miss shows on the stone.
inline constexpr double MAX_MEET_TOLERANCE_W = 0.001;
inline constexpr const char* INTENT_KEY = "Software\\Brevix\\Intent";

}  // namespace brevix
