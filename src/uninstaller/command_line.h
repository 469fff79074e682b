#pragma once
// The uninstaller's three processes talk through command lines written and
// read the way the Windows runtime does it, so a directory that ends in a
// separator survives the trip whatever the separator is.
#include <string>
#include <vector>

namespace brevix::uninstall {

// Window state for a started program (as Windows' SW_SHOWNORMAL).
inline constexpr int SHOW_NORMAL = 1;

enum class ProcessMode { Launcher, Unregister, Worker };
// Chosen by the number of arguments, the program's name included.
ProcessMode processModeFor(int argumentCount);

// Splits a command line as the C runtime does: blanks separate arguments,
// double quotes group, 2n backslashes before a quote give n backslashes and
// a quote mark, 2n+1 give n and a literal quote; other backslashes stay.
std::vector<std::string> commandLineArguments(const std::string& commandLine);

// The launcher's line for its temporary copy: the copy, the launcher's
// process id, the launcher's path in quotes and its directory in quotes with
// a blank before the closing quote (so a trailing backslash cannot escape it).
std::string launcherCommandLine(const std::string& copyPath, long processId, const std::string& ownPath,
                                const std::string& ownDirectory);

// The worker's line for the unregister process: the copy in quotes and the
// log directory after an opening quote that is never closed.
std::string unregisterCommandLine(const std::string& ownPath, const std::string& logDirectory);

}  // namespace brevix::uninstall
