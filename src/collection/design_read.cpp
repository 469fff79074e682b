#include "collection/design_read.h"

#include <sstream>

#include "collection/entry_file.h"
#include "collection/score_cache.h"

#include "document/design_io.h"
#include "files/asc_format.h"
#include "files/datavue_members.h"
#include "kernel/geometry.h"
#include "kernel/kernel_error.h"
#include "platform/failure_words.h"
#include "platform/diagnostics.h"
#include "platform/text_encoding.h"

namespace brevix::collection {

namespace {

std::string joined(const Diagnostics& notes, bool problemsOnly) {
    std::string text;
    for (const Diagnostic& note : notes) {
        // The kernel's notes on short edges are about the geometry of a
        // design that read whole, not problems of the file.
        if (problemsOnly && (!isProblem(note.kind) || note.kind == DiagKind::InternalWarning)) continue;
        if (!text.empty()) text += "; ";
        text += cp1252ToUtf8(note.text);
    }
    return text;
}

ReadEntry readDatabaseDesign(const DesignEntry& entry) {
    ReadEntry result;
    std::string bytes;
    // A corrupt or newer library on the way is part of the entry's story,
    // told with it as the reader's own notes are.
    Diagnostics libraries;
    if (!entryBytes(entry, bytes, libraries)) {
        result.error = "the design's text is in none of the database's libraries";
        if (!libraries.empty()) result.error += "; " + joined(libraries, false);
        return result;
    }
    std::istringstream check(bytes);
    if (!isAscFile(check)) {
        result.error = "the design's text in the database is corrupt";
        return result;
    }
    std::istringstream in(bytes);
    auto stone = std::make_unique<Stone>(DATABASE_ROUGH_HALF);
    readAsc(*stone, in);
    libraries.append(stone->takeDiagnostics());
    result.warning = joined(libraries, true);
    result.stone = std::move(stone);
    return result;
}

}  // namespace

bool entryBytes(const DesignEntry& entry, std::string& bytes, Diagnostics& notes) {
    if (entry.inDatabase()) {
        auto text = designTextBytes(libraryFolderOf(entry.path), entry.reference, entry.code, notes);
        if (!text) return false;
        bytes = std::move(*text);
        return true;
    }
    std::string text, problem;
    if (!streamFile(
            entry.path,
            [&](std::string_view piece) {
                text.append(piece);
                return true;
            },
            problem))
        return false;
    bytes = std::move(text);
    return true;
}

std::string entryKey(const DesignEntry& entry, std::string_view settings) {
    if (entry.inDatabase()) {
        // A library that fails when read throws from the stream; without a
        // key the entry is simply scored, and its read tells what is wrong.
        try {
            std::string bytes;
            Diagnostics unused;
            return entryBytes(entry, bytes, unused) ? ScoreCache::key(bytes, settings) : std::string();
        } catch (const std::exception&) {
            return {};
        }
    }
    KeyBuilder key(settings);
    std::string problem;
    const bool read = streamFile(
        entry.path,
        [&](std::string_view piece) {
            key.add(piece);
            return true;
        },
        problem);
    return read ? key.key() : std::string();
}

ReadEntry readEntry(const DesignEntry& entry) {
    ReadEntry result;
    if (!entry.problem.empty()) {
        result.error = entry.problem;
        return result;
    }
    try {
        if (entry.inDatabase()) return readDatabaseDesign(entry);
        const FileType type = fileTypeOf(entry.path);
        if (type != FileType::Gem && type != FileType::Asc && type != FileType::Brx) {
            result.error = "not a design file (.gem, .asc or .brx)";
            return result;
        }
        DesignRead read = readDesignFile(entry.path, type, 8, 1);
        if (read.outcome != ReadOutcome::Read) {
            result.error = joined(read.notes, false);
            if (result.error.empty()) result.error = "the file cannot be read";
            return result;
        }
        result.stone = std::move(read.stone);
        if (read.intent) result.intent = std::move(*read.intent);
        result.warning = joined(read.notes, true);
    } catch (const KernelError& error) {
        result = ReadEntry{};
        result.error = cp1252ToUtf8(error.what());
    } catch (const std::exception& error) {
        result = ReadEntry{};
        result.error = failureInWords(error, "reading the design");
    }
    return result;
}

}  // namespace brevix::collection
