#include "platform/registry.h"

#include <cstdlib>
#include <mutex>

#include "platform/ascii_case.h"
#include "platform/paths.h"

namespace brevix {

namespace {
// The settings are the user's, one store for the whole process as the
// registry is; only where its files live may be pointed elsewhere (by tests
// and batch runs), so that one folder is guarded rather than passed around.
struct FolderOverride {
    std::mutex lock;
    std::string folder;
};

FolderOverride& folderOverride() {
    static FolderOverride instance;
    return instance;
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

void setRegistryFolder(std::string folder) {
    FolderOverride& o = folderOverride();
    const std::lock_guard guard(o.lock);
    o.folder = std::move(folder);
}

std::string registryFolder() {
    {
        FolderOverride& o = folderOverride();
        const std::lock_guard guard(o.lock);
        if (!o.folder.empty()) return o.folder;
    }
    if (const char* env = std::getenv("BREVIX_REGISTRY_DIR"); env && *env) return env;
    return userConfigFolder();
}

}  // namespace brevix
