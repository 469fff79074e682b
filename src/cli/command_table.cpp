#include "cli/command.h"

namespace brevix::cli {

extern const Command infoCommand;
extern const Command convertCommand;
extern const Command checkCommand;
extern const Command jsonCommand;

std::span<const Command> commands() {
    static const Command table[] = {infoCommand, convertCommand, checkCommand, jsonCommand};
    return table;
}

}  // namespace brevix::cli
