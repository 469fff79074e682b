// What every command's command line goes through: CLI11 reads it against
// the options the command declared, and complaints come out in one form:
// "brevix-cli: <what is wrong>" and the command's usage line, exit status 2.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/options.h"
#include "platform/strformat.h"

namespace brevix::cli {

namespace {

constexpr const char* EXIT_STATUS = "Exit status: 0 done, 1 failed, 2 wrong usage.";

// The innermost (sub-)command the command line reached.
const CLI::App& reached(const CLI::App& app) {
    const CLI::App* at = &app;
    for (auto subcommands = at->get_subcommands(); !subcommands.empty(); subcommands = at->get_subcommands())
        at = subcommands.front();
    return *at;
}

std::string listed(const std::vector<const CLI::App*>& subcommands) {
    std::string names;
    for (size_t i = 0; i < subcommands.size(); ++i)
        names += (i == 0 ? "" : i + 1 == subcommands.size() ? " or " : ", ") + subcommands[i]->get_name();
    return names;
}

// CLI11's own complaints in the words brevix-cli uses.
std::string reasonOf(const CLI::ParseError& error, const CLI::App& app) {
    const std::string text = error.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) {
        // "--size: 1 required X missing", "--size: At Most 1 required but received 2"
        const std::string option = text.substr(0, text.find(':'));
        if (text.find("missing") != std::string::npos) return option + " needs a value";
        return "give " + option + " once";
    }
    if (dynamic_cast<const CLI::RequiredError*>(&error)) {
        const auto subcommands = app.get_subcommands({});
        if (!subcommands.empty() && app.get_subcommands().empty()) {
            const std::vector<std::string> rest = app.remaining();
            const std::string name = app.get_name().substr(app.get_name().rfind(' ') + 1);
            return rest.empty() ? strprintf("%s needs %s", name.c_str(), listed(subcommands).c_str())
                                : strprintf("unknown %s command '%s' (%s)", name.c_str(), rest.front().c_str(),
                                            listed(subcommands).c_str());
        }
        // "FILE is required"
        return text.substr(0, text.find(' ')) + " is missing";
    }
    return text;
}

// Whatever the command line held beyond what the command takes.
void refuseExtras(const CLI::App& app) {
    for (const std::string& extra : app.remaining(true)) {
        if (extra.size() > 1 && extra[0] == '-')
            throw UsageError(strprintf("unknown option '%s'", extra.substr(0, extra.find('=')).c_str()));
        throw UsageError(strprintf("unexpected argument '%s'", extra.c_str()));
    }
}

bool askedForHelp(std::span<const std::string> arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--") return false;
        if (argument == "--help" || argument == "-h") return true;
    }
    return false;
}

void prepare(CLI::App& app) {
    // Unknown options are reported in brevix-cli's words, not CLI11's.
    app.allow_extras();
    app.footer(EXIT_STATUS);
    for (CLI::App* sub : app.get_subcommands({})) prepare(*sub);
}

}  // namespace

int runCommand(const Command& command, std::span<const std::string> arguments, std::ostream& out,
               RunState& state) {
    const std::string name = std::string("brevix-cli ") + command.name;
    CLI::App app(command.summary, name);
    setUsage(app, name + " " + command.arguments);
    const Run run = command.define(app);
    prepare(app);
    try {
        // CLI11 takes the arguments last first.
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
        refuseExtras(app);
        return run(out, state);
    } catch (const CLI::CallForHelp&) {
        out << reached(app).help();
        return EXIT_DONE;
    } catch (const CLI::ParseError& error) {
        const CLI::App& at = reached(app);
        // CLI11 checks the values before it looks for --help; whoever asks
        // for help gets it, whatever else the line holds.
        if (askedForHelp(arguments)) {
            out << at.help();
            return EXIT_DONE;
        }
        reportError(reasonOf(error, at));
        std::fprintf(stderr, "%s\n", usageOf(at).c_str());
        return EXIT_USAGE;
    }
}

}  // namespace brevix::cli
