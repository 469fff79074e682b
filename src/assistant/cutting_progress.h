#pragma once
// Which facets the cutter has cut, kept in a small file beside the design
// ("<design file>.progress"). Facets are known by their planes, so a design
// changed after the progress was stored keeps the progress of every facet it
// still has, and the facets it no longer has (removed, or re-cut at another
// angle, index or depth) are reported by name, angle and index.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/stone.h"

namespace brevix {

struct CutFacet {
    double a = 0, b = 0, c = 0, d = 0;  // the facet's plane
    // What the cutter knew it as, for telling which progress was reset.
    std::string name;
    std::string angle;  // "40.75"
    std::string index;  // "84", "Table"
};

struct CuttingProgress {
    std::vector<CutFacet> cut;  // in the order they were marked
};

// The progress file's path for a design file.
std::string progressPathFor(const std::string& designPath);

std::string writeProgressText(const CuttingProgress& progress);

struct ProgressReadResult {
    CuttingProgress progress;
    std::string error;  // empty when the bytes were read entirely
    // Something is at the path that is not a progress file Brevix can add
    // to (a folder, a pipe, another kind of file, one it may not read): it
    // is never written over.
    bool leaveAlone = false;
};
// Reads what writeProgressText wrote. A line that cannot be read is skipped
// and named: the lines after it are the cutter's work all the same.
ProgressReadResult readProgressText(std::string_view bytes);

// A missing file is no progress and no error. Only a regular file is
// opened, without waiting on a pipe, and no more is read than a progress
// file of the most facets can hold.
ProgressReadResult loadProgress(const std::string& path);
// Writes the file so that a failed write leaves the old one; no progress at
// all removes the file. Returns an error text, empty on success.
std::string saveProgress(const std::string& path, const CuttingProgress& progress);

// What this window changed since `base` (the file as it last read or wrote
// it), made to `theirs` (the file as it is now, perhaps written by another
// window on the same design since): its marks added, its unmarks taken out,
// the other window's work kept.
CuttingProgress mergeProgress(const CuttingProgress& base, const CuttingProgress& ours,
                              const CuttingProgress& theirs);
struct ProgressSaveResult {
    CuttingProgress saved;  // the file's progress now: the new `base`
    std::string error;      // empty on success
};
// Saves `ours` as mergeProgress makes it with the file as it is now. A file
// that is not a progress file is left as it is, with the reason.
ProgressSaveResult saveProgressMerged(const std::string& path, const CuttingProgress& base,
                                      const CuttingProgress& ours);

// The stored facet that is facet `facet` of the stone, or -1.
int findCut(const CuttingProgress& progress, const Stone& stone, int32_t facet);
// Keeps the stored facets the stone still has and returns the others.
std::vector<CutFacet> keepFacetsOf(CuttingProgress& progress, const Stone& stone);
// "P2 42.00\xB0 index 03" and the like, one line per reset facet.
std::string resetReport(const std::vector<CutFacet>& reset);

}  // namespace brevix
