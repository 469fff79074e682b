#pragma once
// Reading one entry of a collection the way the program opens it, on any
// thread, with the messages the readers give kept for the entry instead of
// shown: a file that cannot be read has its reason, one read with problems
// its warning.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "collection/design_files.h"
#include "intent/intent.h"
#include "kernel/stone.h"

namespace brevix::collection {

struct ReadEntry {
    std::unique_ptr<Stone> stone;  // none when the entry could not be read
    std::optional<DesignIntent> intent;  // the intent a .brx file keeps
    std::string error;             // why not (UTF-8)
    std::string warning;           // problems of a design read as far as it went (UTF-8)
};

ReadEntry readEntry(const DesignEntry& entry);

// The bytes the entry is read from: the file, or the design's text in its
// database library. False when they cannot be had. What the libraries on
// the way had wrong is in `notes`.
bool entryBytes(const DesignEntry& entry, std::string& bytes, Diagnostics& notes);

// The cache key of the entry's bytes under `settings` (see ScoreCache::key),
// a file taken in a stream so that its size costs no memory. "" when the
// bytes cannot be had.
std::string entryKey(const DesignEntry& entry, std::string_view settings);

}  // namespace brevix::collection
