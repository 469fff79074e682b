#include "document/meet_tolerance_setting.h"

#include <cmath>
#include <optional>
#include <string>

#include "files/c_numbers.h"
#include "intent/point_resolution.h"
#include "platform/number_parse.h"
#include "platform/registry.h"

namespace brevix {

double loadMeetTolerance() {
    // Stored as text: the store keeps whole numbers and strings only.
    const std::optional<std::string> text = regGetString(RegRoot::CurrentUser, INTENT_KEY, "MeetTolerance");
    if (!text) return DEFAULT_MEET_TOLERANCE_W;
    const std::optional<double> read = wholeNumber(*text, false);
    if (!read || !std::isfinite(*read) || *read < 0 || *read > MAX_MEET_TOLERANCE_W) return DEFAULT_MEET_TOLERANCE_W;
    return *read;
}

bool saveMeetTolerance(double share) {
    std::string text;
    appendShortest(text, share);
    return regSetString(RegRoot::CurrentUser, INTENT_KEY, "MeetTolerance", text);
}

}  // namespace brevix
