#pragma once
// One sub-command of brevix-cli. Each lives in a file of its own
// (cmd_<name>.cpp) and is listed once in command_table.cpp.
//
// To add a command: in cmd_<name>.cpp write a `define` function that
// declares the command's arguments and options on the CLI11 app it is given,
// with the helpers of cli/options.h (addFile, addNumber, addChoice,
// addMaterial ...) so that every command reads and checks them alike, binds
// them to a struct of its own held by a shared_ptr, and returns the work as
// a Run that keeps that struct. Then add one line to the table. Reading the
// command line, --help, the usage errors (exit status 2) and the check that
// the output was written are done for every command alike (command_line.cpp
// and main.cpp). A command with sub-commands of its own adds them with
// app.add_subcommand (see cmd_db.cpp).
#include <functional>
#include <iosfwd>
#include <span>
#include <string>

namespace CLI {
class App;
}

namespace brevix::cli {

enum ExitCode : int { EXIT_DONE = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

// What one run of brevix-cli learns on the way that decides its exit status
// beyond the command's own: a design whose reading reported problems is
// worked on as far as it was read, and the run then fails.
struct RunState {
    bool readProblems = false;
};

// A command's work once its command line has been read: writes its result
// to `out` (messages and errors go to standard error) and returns an
// ExitCode; the designs it loads note their problems in `state`. It may
// throw UsageError (cli/options.h) before it starts, for options that do
// not go together.
using Run = std::function<int(std::ostream& out, RunState& state)>;

struct Command {
    const char* name;
    const char* arguments;  // the usage line after the name, e.g. "FILE [--dpi N]"
    const char* summary;    // one line for brevix-cli --help
    Run (*define)(CLI::App& app);
};

std::span<const Command> commands();

// Reads `arguments` (those after the command's name) and runs the command:
// its --help, or its usage error, or its work.
int runCommand(const Command& command, std::span<const std::string> arguments, std::ostream& out,
               RunState& state);

}  // namespace brevix::cli
