#pragma once
// One sub-command of brevix-cli. Each lives in a file of its own
// (cmd_<name>.cpp) and is listed once in command_table.cpp.
#include <iosfwd>
#include <span>
#include <string>

namespace brevix::cli {

enum ExitCode : int { EXIT_DONE = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

struct Command {
    const char* name;
    const char* arguments;  // as shown in the usage line, e.g. "FILE"
    const char* summary;    // one line for --help
    int argumentCount;      // this many arguments after the name
    // Runs with the arguments after the command name; writes its result to
    // `out`. Messages and errors go to standard error.
    int (*run)(std::span<const std::string> arguments, std::ostream& out);
    // Options the command may take besides (each option and its value count
    // as one argument apiece); the command checks them itself.
    int optionalArguments = 0;
};

std::span<const Command> commands();

}  // namespace brevix::cli
