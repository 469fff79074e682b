#pragma once
// The design files of a collection: every .gem and .asc below the paths
// given, and every design of a Datavue database (a folder holding
// dlist.dbf) that has its text in a library. Entries come sorted, each once:
// a file or folder reached by several ways (links, hard links) is taken by
// the first. Folders that cannot be read, link loops, broken links and
// damaged database indexes are reported and skipped; nothing stops the
// search.
#include <string>
#include <vector>

#include "platform/diagnostics.h"

namespace brevix::collection {

struct DesignEntry {
    std::string path;    // the design file, or the database index
    int record = -1;     // the record of the index; -1 for a design file
    std::string code;       // the database's D_CODE (records only)
    std::string reference;  // the database's BMP_FILE (records only)
    std::string problem;    // why the search could not take it (a link loop, an unreadable folder)
    std::string name;    // the database's D_NAME (records only)

    bool inDatabase() const { return record >= 0; }
    // "path", or "path#record" for a design of a database: the entry's name
    // in batch output and the cache.
    std::string id() const;
    friend bool operator<(const DesignEntry& a, const DesignEntry& b) {
        return a.path != b.path ? a.path < b.path : a.record < b.record;
    }
    friend bool operator==(const DesignEntry& a, const DesignEntry& b) {
        return a.path == b.path && a.record == b.record;
    }
};

// The entry of a design file.
inline DesignEntry fileEntry(std::string path) {
    DesignEntry entry;
    entry.path = std::move(path);
    return entry;
}

struct FoundDesigns {
    // Sorted. What the search met but could not take is among them, with
    // its problem, so that it gets its error line in its place.
    std::vector<DesignEntry> entries;
    // What the database libraries met on the way had wrong (corrupt, newer
    // than this program), for the front end to show.
    Diagnostics notes;
};

// A path given on its own (not found in a folder) is taken whatever its
// extension, so that a file which is no design gets its error line instead
// of vanishing silently.
FoundDesigns findDesigns(const std::vector<std::string>& paths);

// Whether a file name is one the search collects (.gem, .asc, dlist.dbf).
bool isDesignFileName(const std::string& name);
bool isDatabaseIndexName(const std::string& name);

}  // namespace brevix::collection
