// brevix-diagram: brevix-cli's diagram command with the page output, the one
// part of the command line that needs Qt. brevix-cli reads the command line
// and runs it as "brevix-diagram diagram ARGUMENTS"; its main() and messages
// are brevix-cli's own, so a run reads the same either way.
#include "cli/command.h"

namespace brevix::cli {

extern const Command diagramCommand;

std::span<const Command> commands() {
    static const Command table[] = {diagramCommand};
    return table;
}

}  // namespace brevix::cli
