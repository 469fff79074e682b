#pragma once
// The removal run: replays the install log backwards (pre-uninstall program,
// libraries, shared and standard files, program files, shortcut folders,
// program directories, registry keys and values), stepping the progress bar
// once per entry and marking each of the six phases done. Nothing that
// fails stops the run; files and folders that stay are listed as errors.
#include <string>

#include "uninstaller/uninstall_context.h"
#include "uninstaller/uninstall_services.h"

namespace brevix::uninstall {

inline constexpr const char* SHARED_DLLS_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
inline constexpr int REGISTRY_PAUSE_MS = 200;

class UninstallWorker {
public:
    UninstallWorker(UninstallContext& context, UninstallServices& services)
        : context_(context), services_(services) {}

    void run();

    // Shared-DLL counter of `path`: -1 when there is none; otherwise a
    // non-zero count is lowered by one and the new count returned.
    int decrementSharedCount(const std::string& path);
    void deleteSharedCount(const std::string& path);

private:
    void runBeforeUninstall();
    void unregisterDlls();
    void removeCountedFiles(const char* section);
    void removeSharedFile(const std::string& path);
    void deleteProgramFiles();
    void removeFolders(const char* section);
    void deleteRegistryKeys();
    void deleteRegistryValues();

    UninstallContext& context_;
    UninstallServices& services_;
};

// Registry entries the run never deletes: a top-level key of HKCU, HKLM or
// HKU, and any key whose last part is SOFTWARE. False also for an unknown root.
bool registryKeyMayGo(const std::string& root, const std::string& subkey);

}  // namespace brevix::uninstall
