#pragma once
// Text with tab characters, laid out on tab stops the way a cutting
// instruction table is printed: each field starts at the first stop (counted
// from `origin`) right of where the text so far ends.
#include <span>
#include <string_view>

#include "views/canvas.h"

namespace brevix {

// Writes `line` at (x, y) with the canvas's font and alignment (left
// alignment expected) and returns the x where the text ends. A tab past the
// last stop leaves the next field where the text ended.
int tabbedText(Canvas& canvas, int x, int y, std::string_view line, std::span<const int> stops,
               int origin);

}  // namespace brevix
