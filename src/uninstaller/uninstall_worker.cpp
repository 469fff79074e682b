#include "uninstaller/uninstall_worker.h"

#include <cstdlib>

#include "platform/ascii_case.h"
#include "uninstaller/command_line.h"
#include "uninstaller/uninstall_texts.h"

namespace brevix::uninstall {

namespace {


// Only the four short names count; anything else is not ours to touch.
std::optional<RegRoot> logRoot(const std::string& name) {
    if (name == "HKCR") return RegRoot::ClassesRoot;
    if (name == "HKCU") return RegRoot::CurrentUser;
    if (name == "HKLM") return RegRoot::LocalMachine;
    if (name == "HKU") return RegRoot::Users;
    return std::nullopt;
}

// Splits at the first comma; nothing when there is none.
bool splitAtComma(const std::string& text, std::string& head, std::string& rest) {
    size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    head = text.substr(0, comma);
    rest = text.substr(comma + 1);
    return true;
}

int toInt(const std::string& text) { return std::atoi(text.c_str()); }

}  // namespace

bool registryKeyMayGo(const std::string& root, const std::string& subkey) {
    if (!logRoot(root)) return false;
    const size_t lastSep = subkey.rfind('\\');
    if (lastSep == std::string::npos && root != "HKCR") return false;
    const std::string_view last =
        lastSep == std::string::npos ? std::string_view(subkey) : std::string_view(subkey).substr(lastSep + 1);
    return !equalIgnoringAsciiCase(last, "SOFTWARE");
}

int UninstallWorker::decrementSharedCount(const std::string& path) {
    auto count = services_.regGetDword(RegRoot::LocalMachine, SHARED_DLLS_KEY, path);
    if (!count) return -1;
    if (*count != 0) {
        --*count;
        services_.regSetDword(RegRoot::LocalMachine, SHARED_DLLS_KEY, path, *count);
    }
    return static_cast<int>(*count);
}

void UninstallWorker::deleteSharedCount(const std::string& path) {
    services_.regDeleteValue(RegRoot::LocalMachine, SHARED_DLLS_KEY, path);
}

void UninstallWorker::run() {
    context_.log.open(context_.logDirectory, LOG_FILE_NAME);
    const InstallLog& log = context_.log;
    const int total = log.sectionCount("SHAREDFILES") + log.sectionCount("STDFILES") +
                      log.sectionCount("APPFILES") + log.sectionCount("APPFOLDERS") +
                      log.sectionCount("APPDIR") + log.sectionCount("REGENTRY");
    services_.setProgressRange(total);

    runBeforeUninstall();
    unregisterDlls();
    removeCountedFiles("SHAREDFILES");
    services_.phaseDone(1);
    removeCountedFiles("STDFILES");
    services_.phaseDone(2);
    deleteProgramFiles();
    services_.phaseDone(3);
    removeFolders("APPFOLDERS");
    services_.phaseDone(4);
    removeFolders("APPDIR");
    services_.phaseDone(5);
    deleteRegistryKeys();
    deleteRegistryValues();
    services_.phaseDone(6);

    services_.setProgressPosition(total);
    services_.runFinished();
}

void UninstallWorker::runBeforeUninstall() {
    const std::string line = context_.log.value("RUNAPPS", "BeforeUninstall");
    if (line.empty()) return;
    // program, arguments, directory, show, reserved, nowait, reserved
    std::string fields[7];
    std::string rest = line;
    for (int i = 0; i < 6; ++i) {
        if (!splitAtComma(rest, fields[i], rest)) {
            fields[i] = rest;
            rest.clear();
            break;
        }
    }
    if (!rest.empty()) fields[6] = rest;
    const int show = toInt(fields[3]);
    const bool nowait = toInt(fields[5]) != 0;
    // A program that will not start must not keep the product installed.
    services_.runProgram(fields[0] + " " + fields[1], show, !nowait);
}

void UninstallWorker::unregisterDlls() {
    const std::string commandLine = unregisterCommandLine(services_.ownExecutable(), context_.logDirectory);
    if (!services_.runProgram(commandLine, SHOW_NORMAL, true))
        services_.showError(MSG_CANNOT_UNREGISTER, MSG_ERROR_CAPTION);
}

void UninstallWorker::removeCountedFiles(const char* section) {
    std::string path;
    for (int i = 0; context_.log.entry(section, i, path); ++i) {
        const int count = decrementSharedCount(path);
        if (count < 0) {
            services_.deleteAtRestart(path);
        } else if (count == 0 && services_.fileExists(path)) {
            removeSharedFile(path);
        }
        services_.stepProgress();
    }
}

void UninstallWorker::removeSharedFile(const std::string& path) {
    if (context_.askAgain) {
        const std::string folder = directoryOf(path);
        const std::string name = path.substr(folder.size());
        switch (services_.askRemoveSharedFile(fillIn(context_.text(TEXT_REMOVE_SHARED), name, folder))) {
        case SharedAnswer::Yes: context_.removeShared = true; break;
        case SharedAnswer::No: context_.removeShared = false; break;
        case SharedAnswer::YesToAll:
            context_.removeShared = true;
            context_.askAgain = false;
            break;
        case SharedAnswer::NoToAll:
            context_.removeShared = false;
            context_.askAgain = false;
            break;
        }
    }
    if (context_.removeShared) {
        services_.deleteAtRestart(path);
        deleteSharedCount(path);
    }
}

void UninstallWorker::deleteProgramFiles() {
    std::string path;
    for (int i = 0; context_.log.entry("APPFILES", i, path); ++i) {
        DeleteResult result = services_.deleteFile(path);
        if (result == DeleteResult::AccessDenied && services_.isReadOnly(path) && services_.clearReadOnly(path))
            result = services_.deleteFile(path);
        if (result != DeleteResult::Deleted && result != DeleteResult::NotFound)
            context_.errors.push_back(context_.text(TEXT_FILE_ERROR) + " \"" + path + "\"");
        services_.stepProgress();
    }
}

void UninstallWorker::removeFolders(const char* section) {
    std::string path;
    for (int i = 0; context_.log.entry(section, i, path); ++i) {
        if (!services_.removeDirectory(path))
            context_.errors.push_back(context_.text(TEXT_FOLDER_ERROR) + " \"" + path + "\"");
        services_.stepProgress();
    }
}

void UninstallWorker::deleteRegistryKeys() {
    std::string line, root, subkey;
    for (int i = 0; context_.log.entry("REGENTRY", i, line); ++i) {
        if (splitAtComma(line, root, subkey) && registryKeyMayGo(root, subkey))
            services_.regDeleteKey(*logRoot(root), subkey);
        services_.pause(REGISTRY_PAUSE_MS);
        services_.stepProgress();
    }
}

void UninstallWorker::deleteRegistryValues() {
    std::string line, root, rest, subkey, name;
    for (int i = 0; context_.log.entry("REGVALUES", i, line); ++i) {
        if (splitAtComma(line, root, rest) && splitAtComma(rest, subkey, name) && registryKeyMayGo(root, subkey))
            services_.regDeleteValue(*logRoot(root), subkey, name);
        services_.pause(REGISTRY_PAUSE_MS);
        services_.stepProgress();
    }
}

}  // namespace brevix::uninstall
