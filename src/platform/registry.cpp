#include "platform/registry.h"

#include <cstdlib>

#include "platform/ascii_case.h"
#include "platform/paths.h"

namespace brevix {

namespace {
std::string& folderOverride() {
    static std::string folder;
    return folder;
}

}  // namespace

std::optional<RegRoot> regRootFromName(std::string_view name) {
    struct Entry {
        const char* shortName;
        const char* longName;
        RegRoot root;
    };
    static const Entry entries[] = {
        {"HKCR", "HKEY_CLASSES_ROOT", RegRoot::ClassesRoot},
        {"HKCU", "HKEY_CURRENT_USER", RegRoot::CurrentUser},
        {"HKLM", "HKEY_LOCAL_MACHINE", RegRoot::LocalMachine},
        {"HKU", "HKEY_USERS", RegRoot::Users},
    };
    for (const Entry& e : entries) {
        if (equalIgnoringAsciiCase(name, e.shortName) || equalIgnoringAsciiCase(name, e.longName)) return e.root;
    }
    return std::nullopt;
}

const char* regRootName(RegRoot root) {
    switch (root) {
    case RegRoot::ClassesRoot: return "HKCR";
    case RegRoot::CurrentUser: return "HKCU";
    case RegRoot::LocalMachine: return "HKLM";
    case RegRoot::Users: return "HKU";
    }
    return "HKCU";
}

void setRegistryFolder(std::string folder) { folderOverride() = std::move(folder); }

std::string registryFolder() {
    if (!folderOverride().empty()) return folderOverride();
    if (const char* env = std::getenv("BREVIX_REGISTRY_DIR"); env && *env) return env;
    return userConfigFolder();
}

}  // namespace brevix
