#pragma once
// The File menu's list of recently opened designs, most recent first, kept
// in the settings as "Recent File List" \ "File1" … "File4".
#include <string>
#include <vector>

namespace brevix {

inline constexpr const char* RECENT_FILE_SECTION = "Recent File List";
inline constexpr int RECENT_FILE_COUNT = 4;

class RecentFileList {
public:
    explicit RecentFileList(int size = RECENT_FILE_COUNT) : size_(size) {}

    // Reads "File1" … "FileN"; empty values are skipped.
    void load();
    // Writes the list, removing values beyond its end.
    bool save() const;

    // Puts the path first; an equal entry further down is dropped and the
    // list keeps at most `size` entries.
    void add(const std::string& path);
    void remove(size_t index);

    const std::vector<std::string>& entries() const { return entries_; }

private:
    int size_;
    std::vector<std::string> entries_;
};

}  // namespace brevix
