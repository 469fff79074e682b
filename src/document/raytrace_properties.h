#pragma once
// The reading rules of the "Raytrace Properties" dialog, apart from any
// widget toolkit: the refractive index is typed or picked from a list of gem
// materials, or follows from a critical angle typed beside it, and each field
// keeps the other up to date. The GUI passes the texts in and shows the
// texts that come back; it sets `updating` while it writes them, so that its
// own change notifications do not feed back into the handlers.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/diagnostics.h"

namespace brevix {

// The sixteen entries of the list, "1.43  Fluorite" to "2.65  Moissanite":
// the number is what is read, the name is for the user.
std::span<const char* const> refractiveIndexChoices();

// What the two fields are to show after a handler; none: leave it as it is.
struct RaytraceFieldTexts {
    std::optional<std::string> index;  // the combo's edit field
    std::optional<std::string> angle;  // the critical-angle field
};

class RaytraceProperties {
public:
    double index = 1.54;
    bool updating = false;

    // Both fields when the dialog opens with `refractiveIndex`.
    RaytraceFieldTexts load(double refractiveIndex);
    // A list item was picked, or the edit text changed: `text` is the picked
    // item's text, or the edit text when no item is picked.
    RaytraceFieldTexts indexChanged(std::string_view text);
    // The combo lost the focus with `text` in its edit field.
    RaytraceFieldTexts indexLeft(std::string_view text);
    RaytraceFieldTexts angleChanged(std::string_view text);
    RaytraceFieldTexts angleLeft(std::string_view text);

    // The index OK stores; none (with the reason in `notes`, for the dialog
    // to show) when light could not be traced with it.
    std::optional<double> indexOnOk(Diagnostics& notes) const;

private:
    // The angle text the dialog was last given. An angle shown is rounded to
    // two decimals: read back unchanged on leaving its field, it would turn
    // a typed 1.544 into 1.5438744.
    std::string angleShown_;
    RaytraceFieldTexts showing(RaytraceFieldTexts texts);
};

// "%.3f" of the index.
std::string refractiveIndexText(double refractiveIndex);
// "%.2f°" (single-byte degree sign) of the critical angle asin(1/r); empty
// when the index has none (not above 1, or not a number).
std::string criticalAngleText(double refractiveIndex);

// The bounds the two fields accept on leaving them.
constexpr double MIN_TYPED_INDEX = 1.01, MAX_TYPED_INDEX = 3.0;
constexpr double MIN_CRITICAL_ANGLE = 10, MAX_CRITICAL_ANGLE = 60;

}  // namespace brevix
