#include "document/file_dlg_mru.h"

#include <algorithm>
#include <cctype>

#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

// Nine folders are read back; written below the new first one they use
// values up to "Folder10".
constexpr int SHOWN_FOLDERS = 9;

std::string sectionKey() { return std::string(APP_REGISTRY_KEY) + "\\" + RECENT_FOLDER_SECTION; }

}  // namespace

std::string recentFolderOf(const std::string& path) {
    size_t sep = lastPathSeparator(path);
    if (sep == std::string::npos) return {};
    std::string folder = path.substr(0, sep < 3 ? sep + 1 : sep);
    if (folder.size() > 3) folder += PATH_SEPARATOR;
    return folder;
}

CFileDlgMRU::CFileDlgMRU() {
    const std::string key = sectionKey();
    if (auto first = regGetString(RegRoot::CurrentUser, key, "Folder1")) initialFolder_ = *first;
    for (int i = 1; i <= SHOWN_FOLDERS; ++i) {
        auto folder = regGetString(RegRoot::CurrentUser, key, strprintf("Folder%d", i));
        if (folder && !folder->empty()) entries_.push_back(*folder);
    }
}

bool CFileDlgMRU::accept(const std::string& path) {
    std::string folder = recentFolderOf(path);
    std::erase_if(entries_, [&](const std::string& e) { return samePath(e, folder); });
    if (entries_.size() > SHOWN_FOLDERS) entries_.resize(SHOWN_FOLDERS);
    const std::string key = sectionKey();
    bool ok = true;
    for (size_t i = 0; i < entries_.size(); ++i)
        ok &= regSetString(RegRoot::CurrentUser, key, strprintf("Folder%d", static_cast<int>(i) + 2), entries_[i]);
    ok &= regSetString(RegRoot::CurrentUser, key, "Folder1", folder);
    entries_.insert(entries_.begin(), folder);
    if (entries_.size() > SHOWN_FOLDERS) entries_.resize(SHOWN_FOLDERS);
    initialFolder_ = folder;
    return ok;
}

}  // namespace brevix
