#include "collection/design_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <utility>

#include "document/file_type.h"
#include "files/datavue_members.h"
#include "files/datavue_search.h"
#include "files/dbf_table.h"
#include "platform/ascii_case.h"

namespace brevix::collection {

namespace fs = std::filesystem;

namespace {

// Files and folders are known by device and inode, so a link back to a
// folder above is seen as the folder already being walked, and links that
// branch and join again lead to each real folder and file once, however
// many ways there are to it.
using FileId = std::pair<dev_t, ino_t>;

struct Walk {
    FoundDesigns found;
    std::set<FileId> open;     // the folders on the way down to this one
    std::set<FileId> walked;   // every folder walked so far
    std::set<FileId> taken;    // every file taken so far
};

void problem(Walk& walk, const std::string& path, std::string text) {
    DesignEntry entry;
    entry.path = path;
    entry.problem = std::move(text);
    walk.found.entries.push_back(std::move(entry));
}

void addDatabase(Walk& walk, const std::string& indexPath) {
    DbfTable table;
    std::ostringstream notes;  // a short index is read as far as it goes
    if (readDbf(table, indexPath, notes) != 0) {
        problem(walk, indexPath, "the database index cannot be read");
        return;
    }
    const int nameField = fieldIndexOf(table, DATAVUE_FIELDS[DV_NAME].name);
    const int codeField = fieldIndexOf(table, DATAVUE_FIELDS[DV_CODE].name);
    const int fileField = fieldIndexOf(table, DATAVUE_FIELDS[DV_FILE].name);
    if (codeField < 0 || fileField < 0) {
        problem(walk, indexPath, "not a Datavue index (no D_CODE or BMP_FILE)");
        return;
    }
    const std::string folder = libraryFolderOf(indexPath);
    // Record 0 is never a design the database shows.
    for (int32_t r = 1; r < table.recordCount; ++r) {
        const auto code = fieldValue(table, r, codeField);
        const auto reference = fieldValue(table, r, fileField);
        if (!code || !reference) continue;
        const std::string codeText(*code), referenceText(*reference);
        if (!hasDesignText(folder, referenceText, codeText, walk.found.notes)) continue;
        const auto name = nameField >= 0 ? fieldValue(table, r, nameField) : std::nullopt;
        DesignEntry entry;
        entry.path = indexPath;
        entry.record = static_cast<int>(r);
        entry.code = codeText;
        entry.reference = referenceText;
        if (name) entry.name = std::string(*name);
        walk.found.entries.push_back(std::move(entry));
    }
}

void addFile(Walk& walk, const std::string& path, const std::string& name, const struct stat& info) {
    if (!walk.taken.insert(FileId{info.st_dev, info.st_ino}).second) return;
    if (!isDatabaseIndexName(name)) {
        walk.found.entries.push_back(fileEntry(path));
        return;
    }
    // A damaged index is that index's problem alone: the rest of the search goes on.
    const size_t before = walk.found.entries.size();
    try {
        addDatabase(walk, path);
    } catch (const std::exception& error) {
        walk.found.entries.resize(before);
        problem(walk, path, std::string("the database index cannot be read: ") + error.what());
    }
}

void walkFolder(Walk& walk, const std::string& folder, const struct stat& info) {
    const FileId id{info.st_dev, info.st_ino};
    if (walk.open.count(id)) {
        problem(walk, folder, "a link loop (the folder contains itself)");
        return;
    }
    if (!walk.walked.insert(id).second) return;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        problem(walk, folder, "the folder cannot be read: " + ec.message());
        return;
    }
    walk.open.insert(id);
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        names.push_back(it->path().filename().string());
    }
    if (ec) problem(walk, folder, "the folder cannot be read to the end: " + ec.message());
    std::sort(names.begin(), names.end());
    const std::string prefix = folder.ends_with('/') ? folder : folder + '/';
    for (const std::string& name : names) {
        const std::string path = prefix + name;
        struct stat entry {};
        if (::stat(path.c_str(), &entry) != 0) {
            // A link loop of links (a -> b -> a) or a link to nothing.
            problem(walk, path, std::strerror(errno));
            continue;
        }
        if (S_ISDIR(entry.st_mode))
            walkFolder(walk, path, entry);
        else if (!isDesignFileName(name))
            continue;
        else if (S_ISREG(entry.st_mode))
            addFile(walk, path, name, entry);
        else
            // A pipe or a device could keep the reader waiting for ever.
            problem(walk, path, "not a regular file");
    }
    walk.open.erase(id);
}

}  // namespace

std::string DesignEntry::id() const { return record < 0 ? path : path + "#" + std::to_string(record); }

bool isDatabaseIndexName(const std::string& name) { return equalIgnoringAsciiCase(name, "dlist.dbf"); }

bool isDesignFileName(const std::string& name) {
    const FileType type = fileTypeOf(name);
    const size_t dot = name.rfind('.');
    // fileTypeOf goes by the last three characters alone ("xgem"); a
    // collection takes only names with the extension proper.
    const bool extension = dot != std::string::npos && name.size() - dot == 4;
    return (extension && (type == FileType::Gem || type == FileType::Asc || type == FileType::Brx)) ||
           isDatabaseIndexName(name);
}

FoundDesigns findDesigns(const std::vector<std::string>& paths) {
    Walk walk;
    for (const std::string& path : paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            problem(walk, path, std::strerror(errno));
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            walkFolder(walk, path, info);
            continue;
        }
        if (!S_ISREG(info.st_mode)) {
            problem(walk, path, "not a regular file");
            continue;
        }
        // Given by name: taken as it is, so that the reader says what is wrong with it.
        const std::string name = fs::path(path).filename().string();
        addFile(walk, path, name, info);
    }
    std::vector<DesignEntry>& entries = walk.found.entries;
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    return std::move(walk.found);
}

}  // namespace brevix::collection
