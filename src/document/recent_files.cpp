#include "document/recent_files.h"

#include <algorithm>
#include <cctype>

#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/strformat.h"

namespace brevix {

namespace {
std::string sectionKey() { return std::string(APP_REGISTRY_KEY) + "\\" + RECENT_FILE_SECTION; }
}  // namespace

void RecentFileList::load() {
    entries_.clear();
    for (int i = 1; i <= size_; ++i) {
        auto path = regGetString(RegRoot::CurrentUser, sectionKey(), strprintf("File%d", i));
        if (path && !path->empty()) entries_.push_back(*path);
    }
}

bool RecentFileList::save() const {
    bool ok = true;
    for (int i = 1; i <= size_; ++i) {
        std::string name = strprintf("File%d", i);
        if (static_cast<size_t>(i) <= entries_.size())
            ok &= regSetString(RegRoot::CurrentUser, sectionKey(), name, entries_[i - 1]);
        else
            regDeleteValue(RegRoot::CurrentUser, sectionKey(), name);
    }
    return ok;
}

void RecentFileList::add(const std::string& path) {
    if (path.empty()) return;
    std::erase_if(entries_, [&](const std::string& e) { return samePath(e, path); });
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > static_cast<size_t>(size_)) entries_.resize(size_);
}

void RecentFileList::remove(size_t index) {
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace brevix
