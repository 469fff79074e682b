#pragma once
// Edit > Heading/Footnote: the diagram's heading and footnote as the
// dialog's two texts, and the command that stores them.
#include <array>
#include <string>
#include <string_view>

namespace brevix {

class CGemDoc;

using DiagramLines = std::array<std::string, 4>;

// The stored lines as the dialog shows them: joined by CR LF, up to the
// last line that holds text.
std::string diagramLinesText(const DiagramLines& lines);
// A text as it is stored: at most four lines, cut at CR (an LF right after
// it belongs to the same line end) or at a lone LF; an empty line is no
// line; whatever follows the fourth line is dropped.
DiagramLines diagramLinesOf(std::string_view text);

// One snapshot, both texts stored, the views redrawn. Nothing without a stone.
void headingCommand(CGemDoc& doc, std::string_view heading, std::string_view footnote);

}  // namespace brevix
