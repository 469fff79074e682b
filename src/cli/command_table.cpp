#include "cli/command.h"

namespace brevix::cli {

extern const Command infoCommand;
extern const Command convertCommand;
extern const Command checkCommand;
extern const Command jsonCommand;
extern const Command diagramCommand;
extern const Command lightCommand;
extern const Command dbCommand;
extern const Command recutCommand;
extern const Command intentCommand;
extern const Command batchCommand;
extern const Command optimiseCommand;
extern const Command retargetCommand;
extern const Command figuresCommand;
extern const Command toleranceCommand;
extern const Command fitCommand;

std::span<const Command> commands() {
    static const Command table[] = {infoCommand, convertCommand, checkCommand, jsonCommand, diagramCommand,
                                    lightCommand, dbCommand, recutCommand, intentCommand, batchCommand,
                                    optimiseCommand, retargetCommand, figuresCommand, toleranceCommand, fitCommand};
    return table;
}

}  // namespace brevix::cli
