// info FILE: what the program copies to the clipboard from the cut list —
// the statistics, an empty line, the cutting instructions for 72 columns —
// followed by the footnote.
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "design/design_text.h"
#include "design/measures.h"
#include "platform/text_encoding.h"

namespace brevix::cli {

namespace {
int runInfo(std::span<const std::string> args, std::ostream& out) {
    auto stone = loadDesign(args[0]);
    if (!stone) return EXIT_FAILED;
    computeBounds(*stone);
    std::string text = statisticsText(*stone);
    text += '\n';
    InstructionText instructions;
    int lines = 0;
    instructionText(*stone, CLIPBOARD_WIDTH, lines, instructions);
    text += instructions.instructions;
    text += instructions.footnote;
    out << cp1252ToUtf8(text);
    return EXIT_DONE;
}
}  // namespace

extern const Command infoCommand{"info", "FILE", "statistics and cutting instructions as text", 1, runInfo};

}  // namespace brevix::cli
