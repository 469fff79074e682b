#pragma once
// Every text the whole-stone commands and their dialogs show the user.
namespace brevix::cmdmsg {

// Center.
inline constexpr const char* NO_AXIS = "You must check one or more axis boxes.";
inline constexpr const char* NO_POINT = "No point in cut dialog to use.";
inline constexpr const char* POINT_OUTSIDE =
    "The point lies outside the stone or on its surface; the stone cannot be centered on it.";

// Scale and the ranking after it.
inline constexpr const char* SCALE_NOT_POSITIVE =
    "The amounts must give a factor greater than zero.";
inline constexpr const char* CANNOT_ROUND = "Cannot round indexes.";

// Rotate or Tilt with index notches on a gear of no notches.
inline constexpr const char* ZERO_GEAR = "Zero index gear";

// Rename in order.
inline constexpr const char* RENAME_WARNING = "WARNING:\nExisting facet names will be replaced.";

}  // namespace brevix::cmdmsg
