#pragma once
// Reading and display rules of the "Cut Facet" form and of the Angle and
// Index command dialogs, kept apart from any widget toolkit: the GUI passes
// the typed text in and shows the texts that come back.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "facet_placement/new_facet_info.h"
#include "platform/diagnostics.h"

namespace brevix {

// One number as "%lf" reads it (leading blanks skipped, trailing text
// ignored). Infinities and NaN count as unreadable: they would reach the
// plane arithmetic and leave a stone without a valid plane.
std::optional<double> scanDouble(std::string_view text);
// One integer as "%d" reads it.
std::optional<int> scanInt(std::string_view text);

// The Angle field on leaving it: the value to set, or none (field emptied,
// angle unset). Out of -90..90 notes "Angle should be between -90 and 90".
std::optional<double> readAngleField(std::string_view text, Diagnostics& notes);
// The Symmetry field: the fold to set, or none (field emptied, the fold
// falls back to 8 with mirror). Below 1 notes "Symmetry should a positive number".
std::optional<int> readSymmetryField(std::string_view text, Diagnostics& notes);
// The Points field: the complete points typed, in order, at most three.
std::vector<Vec3> readPointsField(std::string_view text);

// Field texts.
std::string angleFieldText(double angle);   // "%.6f"
std::string indexFieldText(double index);   // "%.6f"
std::string cedFieldText(double ced);       // "%.8f"
std::string symmetryFieldText(int symmetry);  // "%d"

// Everything the form shows after a change of the document.
struct CutFacetFormTexts {
    std::string caption;  // default button: "Cut Facet" or "Apply"
    std::string angle, index, ced, points, symmetry;
    bool betweenEnabled = false;  // "Between 1,2"
    bool mirror = false;
};
// `complete` is the result of completing the info just before.
CutFacetFormTexts cutFacetFormTexts(const NewFacetInfo& info, bool complete);
std::string pointsFieldText(const NewFacetInfo& info);

// Whether the default button cuts (its caption is not "Apply").
bool defaultButtonCuts(std::string_view caption);

// The Angle and Index command dialogs: on leaving the field an unreadable
// text reads as 0; on OK an unreadable text ends the dialog as Cancel (none).
double readCommandFieldOnLeave(std::string_view text);
std::optional<double> readCommandFieldOnOk(std::string_view text);

}  // namespace brevix
