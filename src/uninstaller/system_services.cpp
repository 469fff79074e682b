#include "uninstaller/system_services.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "platform/paths.h"
#include "uninstaller/command_line.h"
#include "uninstaller/rename_list.h"

extern char** environ;

namespace brevix::uninstall {

void SystemServices::showError(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

bool startProgram(const std::string& commandLine, bool wait, long* processId) {
    std::vector<std::string> arguments = commandLineArguments(commandLine);
    if (arguments.empty() || arguments[0].empty()) return false;
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    if (processId) *processId = pid;
    if (wait) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    return true;
}

bool SystemServices::runProgram(const std::string& commandLine, int, bool wait) {
    return startProgram(commandLine, wait);
}

std::string ownExecutablePath() {
    std::string path(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0) return {};
    path.resize(static_cast<size_t>(length));
    return path;
}

std::string SystemServices::ownExecutable() { return ownExecutablePath(); }

bool SystemServices::unregisterDll(const std::string& path) {
    // First make sure it is a loadable image at all: a data file that merely
    // carries the name must not be run.
    {
        std::ifstream in(path, std::ios::binary);
        char magic[4] = {};
        if (!in.read(magic, 4) || magic[0] != 0x7f || magic[1] != 'E' || magic[2] != 'L' || magic[3] != 'F')
            return false;
    }
    std::string folder(4096, '\0');
    const bool haveFolder = getcwd(folder.data(), folder.size()) != nullptr;
    bool called = false;
    if (void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        using Entry = long (*)();
        if (auto entry = reinterpret_cast<Entry>(dlsym(library, "DllUnregisterServer"))) {
            entry();
            called = true;
        }
        dlclose(library);
    }
    if (haveFolder && chdir(folder.c_str()) != 0) {
        // The folder went away while the library ran; nothing relies on it.
    }
    return called;
}

bool SystemServices::fileExists(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

DeleteResult SystemServices::deleteFile(const std::string& path) {
    if (::unlink(path.c_str()) == 0) return DeleteResult::Deleted;
    switch (errno) {
    case ENOENT: return DeleteResult::NotFound;
    case EACCES:
    case EPERM:
    case EROFS: return DeleteResult::AccessDenied;
    default: return DeleteResult::Failed;
    }
}

bool SystemServices::isReadOnly(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

bool SystemServices::clearReadOnly(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && ::chmod(path.c_str(), info.st_mode | S_IWUSR) == 0;
}

std::string renameListPath() { return registryFolder() + PATH_SEPARATOR + "WinInit.Ini"; }

void SystemServices::deleteAtRestart(const std::string& path) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return;
    // Nothing here can delete it later by itself; the rename list records it
    // for whoever cleans up.
    makeFolders(registryFolder());
    addToRenameList(renameListPath(), path);
}

bool SystemServices::removeDirectory(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

std::optional<uint32_t> SystemServices::regGetDword(RegRoot root, const std::string& key, const std::string& name) {
    return brevix::regGetDword(root, key, name);
}

bool SystemServices::regSetDword(RegRoot root, const std::string& key, const std::string& name, uint32_t value) {
    return brevix::regSetDword(root, key, name, value);
}

bool SystemServices::regDeleteValue(RegRoot root, const std::string& key, const std::string& name) {
    return brevix::regDeleteValue(root, key, name);
}

bool SystemServices::regDeleteKey(RegRoot root, const std::string& key) { return brevix::regDeleteKey(root, key); }

void SystemServices::pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace brevix::uninstall
