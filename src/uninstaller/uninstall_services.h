#pragma once
// Everything the removal run asks of the world: the dialog it reports to,
// processes, libraries, files and the registry layer. The program passes the
// real ones (SystemServices plus its dialogs); tests pass a fake and so
// drive every branch of the run without touching the machine.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/registry.h"

namespace brevix::uninstall {

enum class SharedAnswer { Yes, No, YesToAll, NoToAll };
enum class DeleteResult { Deleted, NotFound, AccessDenied, Failed };

class UninstallServices {
public:
    virtual ~UninstallServices() = default;

    // Progress dialog. Phases are numbered 1 to 6.
    virtual void setProgressRange(int total) = 0;
    virtual void stepProgress() = 0;
    virtual void setProgressPosition(int position) = 0;
    virtual void phaseDone(int phase) = 0;
    virtual void runFinished() = 0;
    // The "Remove Shared File?" question, with the text already filled in.
    virtual SharedAnswer askRemoveSharedFile(const std::string& text) = 0;
    virtual void showError(const std::string& text, const std::string& caption) = 0;

    // Starts a program from a command line quoted the way the uninstaller's
    // own command lines are (commandLineArguments splits it); waits for it
    // when asked. False when it could not be started.
    virtual bool runProgram(const std::string& commandLine, int show, bool wait) = 0;
    // The running uninstaller's own executable.
    virtual std::string ownExecutable() = 0;
    // Loads the library and calls its DllUnregisterServer; true when it had one.
    virtual bool unregisterDll(const std::string& path) = 0;

    virtual bool fileExists(const std::string& path) = 0;
    virtual DeleteResult deleteFile(const std::string& path) = 0;
    virtual bool isReadOnly(const std::string& path) = 0;
    virtual bool clearReadOnly(const std::string& path) = 0;
    // Deletes the file now if it can, else at the next restart.
    virtual void deleteAtRestart(const std::string& path) = 0;
    // Removes an empty directory.
    virtual bool removeDirectory(const std::string& path) = 0;

    virtual std::optional<uint32_t> regGetDword(RegRoot root, const std::string& key, const std::string& name) = 0;
    virtual bool regSetDword(RegRoot root, const std::string& key, const std::string& name, uint32_t value) = 0;
    virtual bool regDeleteValue(RegRoot root, const std::string& key, const std::string& name) = 0;
    virtual bool regDeleteKey(RegRoot root, const std::string& key) = 0;

    virtual void pause(int milliseconds) = 0;
};

}  // namespace brevix::uninstall
