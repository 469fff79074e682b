#pragma once
// The three ways the uninstaller starts. The launcher (no arguments) copies
// itself to a "Del" file in the temporary folder, starts the copy and ends,
// so that the copy can delete the installed uninstaller. The worker (the
// copy) waits for the launcher to end before it touches anything. The
// unregister process (one argument) calls every library's
// DllUnregisterServer.
#include <functional>
#include <string>

#include "uninstaller/uninstall_services.h"

namespace brevix::uninstall {

inline constexpr const char* TEMP_COPY_PREFIX = "Del";

// $TMPDIR, else /tmp; ends without a separator.
std::string temporaryFolder();

// Copies the running program to a new "Del" file in the temporary folder and
// starts it with the launcher's command line. On failure `showError` is told
// "Cannot create child process". Returns the launcher's exit code, -1.
int runLauncher(const std::function<void(const std::string& text, const std::string& caption)>& showError);

// Calls DllUnregisterServer of every REGDLLS library of the log in
// `argument`'s directory. Returns the exit code.
int runUnregisterMode(const std::string& argument, UninstallServices& services);

// Waits until the process has ended (returns at once when it is gone).
void waitForProcessEnd(long processId);

// The worker's start: waits for the launcher named in argv[1], makes the
// copy's folder current and returns the log directory from argv[3].
std::string startWorker(int argc, char** argv);

}  // namespace brevix::uninstall
