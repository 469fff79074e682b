#include "uninstaller/command_line.h"

namespace brevix::uninstall {

ProcessMode processModeFor(int argumentCount) {
    if (argumentCount == 2) return ProcessMode::Unregister;
    if (argumentCount >= 4) return ProcessMode::Worker;
    return ProcessMode::Launcher;
}

std::vector<std::string> commandLineArguments(const std::string& line) {
    std::vector<std::string> arguments;
    size_t i = 0;
    const size_t n = line.size();
    for (;;) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= n) break;
        std::string argument;
        bool quoted = false;
        while (i < n && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            if (line[i] == '\\') {
                size_t slashes = 0;
                while (i < n && line[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && line[i] == '"') {
                    argument.append(slashes / 2, '\\');
                    if (slashes % 2) {
                        argument += '"';
                        ++i;
                    }
                } else {
                    argument.append(slashes, '\\');
                }
            } else if (line[i] == '"') {
                // "" inside quotes stands for one quote mark.
                if (quoted && i + 1 < n && line[i + 1] == '"') {
                    argument += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += line[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string launcherCommandLine(const std::string& copyPath, long processId, const std::string& ownPath,
                                const std::string& ownDirectory) {
    // A temporary folder with a blank in its name would split the copy's path
    // into two arguments and shift every argument after it.
    const bool needsQuotes = copyPath.find_first_of(" \t") != std::string::npos;
    const std::string copy = needsQuotes ? "\"" + copyPath + "\"" : copyPath;
    return copy + " " + std::to_string(processId) + " \"" + ownPath + "\" \"" + ownDirectory + " \"";
}

std::string unregisterCommandLine(const std::string& ownPath, const std::string& logDirectory) {
    return "\"" + ownPath + "\" \"" + logDirectory;
}

}  // namespace brevix::uninstall
