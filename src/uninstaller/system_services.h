#pragma once
// The uninstaller's services on this machine: POSIX files and processes,
// dlopen for the libraries, the registry layer for keys and counters. The
// dialog side is silent here; the window program overrides it.
#include "uninstaller/uninstall_services.h"

namespace brevix::uninstall {

class SystemServices : public UninstallServices {
public:
    void setProgressRange(int) override {}
    void stepProgress() override {}
    void setProgressPosition(int) override {}
    void phaseDone(int) override {}
    void runFinished() override {}
    SharedAnswer askRemoveSharedFile(const std::string&) override { return SharedAnswer::No; }
    void showError(const std::string& text, const std::string& caption) override;

    bool runProgram(const std::string& commandLine, int show, bool wait) override;
    std::string ownExecutable() override;
    bool unregisterDll(const std::string& path) override;

    bool fileExists(const std::string& path) override;
    DeleteResult deleteFile(const std::string& path) override;
    bool isReadOnly(const std::string& path) override;
    bool clearReadOnly(const std::string& path) override;
    void deleteAtRestart(const std::string& path) override;
    bool removeDirectory(const std::string& path) override;

    std::optional<uint32_t> regGetDword(RegRoot root, const std::string& key, const std::string& name) override;
    bool regSetDword(RegRoot root, const std::string& key, const std::string& name, uint32_t value) override;
    bool regDeleteValue(RegRoot root, const std::string& key, const std::string& name) override;
    bool regDeleteKey(RegRoot root, const std::string& key) override;

    void pause(int milliseconds) override;
};

// Starts the command line's program (searched on PATH when it names no
// folder) with its arguments; waits for it when asked. False when it could
// not be started. The process id goes to `processId` when given.
bool startProgram(const std::string& commandLine, bool wait, long* processId = nullptr);

// The running program's own file.
std::string ownExecutablePath();

// Where the rename list for "at restart" lies: beside the settings hives.
std::string renameListPath();

}  // namespace brevix::uninstall
