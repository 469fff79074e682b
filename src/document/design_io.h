#pragma once
// Reading and writing a design by file type: the one dispatch the document
// and the command line share, with the messages the user is shown.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "document/file_type.h"
#include "files/progress_input.h"
#include "intent/intent.h"
#include "kernel/stone.h"
#include "platform/diagnostics.h"

namespace brevix {

enum class ReadOutcome {
    Read,     // the file was read (its own readers may have reported problems)
    Corrupt,  // the file failed the format check: `stone` is the empty rough stone
    Damaged,  // the file ends before its first facet: `stone` is the empty rough stone
    Failed,   // nothing to show for it: no stone
    Cancelled,  // the progress callback stopped the read: no stone, nothing shown
};

struct DesignRead {
    ReadOutcome outcome = ReadOutcome::Failed;
    std::unique_ptr<Stone> stone;
    // The reader warned of something (a part it could not read, a record it
    // skipped): the stone may hold less than the file, so writing it back
    // over the file could destroy what the reader missed.
    bool problems = false;
    // The file ends before its design does (cut short): what was read is
    // only part of it. Set with `problems`; nothing may be written from it
    // without the user's say.
    bool damaged = false;
    // What a .brx file recorded of how the design was cut; the other
    // formats hold none (it is inferred from the planes when needed).
    std::optional<DesignIntent> intent;
    // What the reading had to say, in order, for the caller to show.
    Diagnostics notes;
};

// Reads a .gem or .asc file into a fresh rough stone (half-size 1.02) that
// starts with the given symmetry and mirror, or a .brx file with the intent
// it recorded (its own gear, symmetry and mirror). A .brx file whose reading
// stopped part way is reported and read as far as it goes, as damaged; one
// that is no intent file at all is Corrupt. Other types fail: the export
// types with "Don't know how to read file of type %s", the rest silently.
// What is no regular file (a folder, a device, a pipe) is not opened:
// "Cannot open %s to read" with the reason, as for a file that is missing.
// A kernel error while the planes are cut is noted and fails the read.
// Says nothing itself: every message is in the result's notes.
// `progress`, when given, hears how far the read has come and may cancel it.
DesignRead readDesignFile(const std::string& path, FileType type, int32_t symmetry, int32_t mirror,
                          const ReadProgress& progress = {});

// Writes the stone in the given format; the previous file stays intact
// unless the new one was written completely. False when nothing was
// written; `notes` then says why. Says nothing itself: what the writers
// have to say (a name changed, a line too long for DOS) is in `notes`.
// The meshes (STL, OBJ) are written in millimetres at `millimetresPerUnit`,
// or in design units when it is 0; the other formats have their own units.
// A .brx file written this way holds the intent inferred from the planes;
// writeIntentFile keeps one that was recorded.
bool writeDesignFile(const Stone& stone, FileType type, const std::string& path, double millimetresPerUnit,
                     Diagnostics& notes);

// Writes the design with its intent as a .brx file, replacing the previous
// file only once the new one is complete. False when it could not, with
// the reason in `notes`; nothing is written that would not read back whole
// (a tier beyond what the format holds).
// `intent` must describe the stone's planes (intentOf gives one that does).
bool writeIntentFile(const Stone& stone, const DesignIntent& intent, const std::string& path,
                     Diagnostics& notes);

}  // namespace brevix
