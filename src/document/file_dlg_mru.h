#pragma once
// The recent-folder list of the program's file dialogs ("Recent folders:"),
// kept in the settings as "My Recent Folder List" \ "Folder1", "Folder2" …,
// most recent first. This is the dialog's logic without the dialog: the GUI
// fills its drop-down from `entries` and calls `accept` with the chosen file.
#include <string>
#include <vector>

namespace brevix {

inline constexpr const char* RECENT_FOLDER_SECTION = "My Recent Folder List";

// The folder a file path is remembered under: everything before the last
// separator, keeping the separator when it is one of the first three
// characters (a drive root such as "C:\" or "/"), and with a separator
// appended when the folder is longer than three characters. A path without
// a separator gives "".
std::string recentFolderOf(const std::string& path);

// The file dialogs' list of recent folders.
class CFileDlgMRU {
public:
    // Loads the list from the settings.
    CFileDlgMRU();

    // The folder the dialog starts in: "Folder1" when it is not empty.
    const std::string& initialFolder() const { return initialFolder_; }
    // The non-empty values "Folder1" to "Folder9", in that order.
    const std::vector<std::string>& entries() const { return entries_; }

    // The user accepted `path`: its folder moves to the top of the list and
    // the list is written back. The file name is always accepted.
    bool accept(const std::string& path);

private:
    std::string initialFolder_;
    std::vector<std::string> entries_;
};

}  // namespace brevix
