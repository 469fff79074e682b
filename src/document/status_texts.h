#pragma once
// The status bar's panes 103 (facets), 104 (L/W) and 105 (RI) for the
// document's design as it is.
#include <string>

namespace brevix {

class CGemDoc;

std::string facetCountText(const CGemDoc& doc);
std::string lengthWidthText(const CGemDoc& doc);
std::string refractiveIndexText(const CGemDoc& doc);

}  // namespace brevix
