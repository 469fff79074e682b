// brevix-cli: the design program's work without its windows, for batch runs
// and scripts. Every command reads designs the way the program opens them.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "kernel/kernel_error.h"
#include "platform/failure_words.h"
#include "platform/once_per_command.h"
#include "platform/strformat.h"

namespace {

using namespace brevix::cli;

void printUsage(std::FILE* to) {
    std::fprintf(to, "usage: brevix-cli COMMAND ARGUMENTS\n\ncommands:\n");
    for (const Command& c : commands()) {
        std::string call = std::string(c.name) + " " + c.arguments;
        std::fprintf(to, "  %-20s %s\n", call.c_str(), c.summary);
    }
    std::fprintf(to,
                 "\nExit status: 0 done, 1 failed, 2 wrong usage. A design whose reading reported\n"
                 "problems is worked on as far as it was read, and the exit status is 1.\n"
                 "Messages go to standard error; questions are never asked, each takes its\n"
                 "default answer. brevix-cli COMMAND --help tells a command's options.\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printUsage(stderr);
        return EXIT_USAGE;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        if (args.size() == 1) {
            printUsage(stdout);
            return EXIT_DONE;
        }
        // "help COMMAND" is "COMMAND --help".
        args = {args[1], "--help"};
    }
    const Command* command = nullptr;
    for (const Command& c : commands()) {
        if (args[0] == c.name) command = &c;
    }
    if (!command) {
        reportError(brevix::strprintf("unknown command '%s' (see brevix-cli --help)", args[0].c_str()));
        return EXIT_USAGE;
    }
    const std::span<const std::string> rest(args.data() + 1, args.size() - 1);

    // The run is one command: what the core notes is shown through a filter
    // that tells each text once.
    CliSink sink;
    brevix::OncePerCommand once(sink);
    brevix::ScopedMessageSink guard(once);
#ifdef SIGXFSZ
    // Past a file-size limit a write then fails with "File too large" and
    // the user hears it, instead of the run being killed mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    RunState state;
    try {
        int code = runCommand(*command, rest, std::cout, state);
        // The stream only says that it failed; the system's reason comes
        // from flushing what is still buffered below it.
        errno = 0;
        std::cout.flush();
        std::fflush(stdout);
        const int error = errno;
        if (!std::cout) {
            reportError(error ? brevix::strprintf("cannot write the output: %s", std::strerror(error))
                              : std::string("cannot write the output"));
            return EXIT_FAILED;
        }
        return code == EXIT_DONE && state.readProblems ? EXIT_FAILED : code;
    } catch (const brevix::KernelError& error) {
        sink.show(error.what(), brevix::Icon::Error);
    } catch (const std::exception& error) {
        reportError(brevix::failureInWords(error, brevix::strprintf("the %s command", command->name)));
    }
    return EXIT_FAILED;
}
