// info FILE [--width MM | --length MM] [--material NAME | --sg SG]: what
// the program copies to the clipboard from the cut list — the statistics, an
// empty line, the cutting instructions for 72 columns — followed by the
// footnote. With a size, the stone's size, volume and weight follow the
// statistics.
#include <memory>
#include <ostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/options.h"
#include "cli/size_options.h"
#include "design/design_text.h"
#include "design/measures.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"

namespace brevix::cli {

namespace {

constexpr const char* INFO_ARGUMENTS = "FILE [--width MM | --length MM] [--material NAME | --sg SG]";

struct InfoArguments {
    std::string file;
    SizeOptions size;
};

int runInfo(const InfoArguments& a, std::ostream& out, RunState& state) {
    checkSizeOptions(a.size);
    auto stone = loadDesign(a.file, state);
    if (!stone) return EXIT_FAILED;
    computeBounds(*stone);
    std::string text = cp1252ToUtf8(statisticsText(*stone));
    bool failed = false;
    if (const std::optional<RealSize> size = realSizeFor(*stone, a.size, failed)) {
        text += sizeLine(*size) + "\n" + volumeLine(*size) + "\n";
        if (const std::optional<Gravity> gravity = gravityFor(*stone, a.size))
            text += weightLine(*size, gravity->material, gravity->specificGravity) + "\n";
        else
            failed = true;
    }
    text += '\n';
    InstructionText instructions;
    int lines = 0;
    instructionText(*stone, CLIPBOARD_WIDTH, lines, instructions);
    showNotes(instructions.notes);
    text += cp1252ToUtf8(instructions.instructions);
    text += cp1252ToUtf8(instructions.footnote);
    out << text;
    return failed ? EXIT_FAILED : EXIT_DONE;
}

Run defineInfo(CLI::App& app) {
    auto a = std::make_shared<InfoArguments>();
    addFile(app, "FILE", "the design (.brx, .gem or .asc)", a->file);
    addSizeOptions(app, a->size, true);
    return [a](std::ostream& out, RunState& state) { return runInfo(*a, out, state); };
}

}  // namespace

extern const Command infoCommand{"info", INFO_ARGUMENTS, "statistics and cutting instructions as text", defineInfo};

}  // namespace brevix::cli
