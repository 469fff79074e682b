#include "document/design_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <span>
#include <vector>

#include "document/document_messages.h"
#include "files/asc_format.h"
#include "files/design_damage.h"
#include "files/exports.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/gem_format.h"
#include "files/replacing_file.h"
#include "files/thumbnail.h"
#include "intent/design_intent.h"
#include "intent/intent_file.h"
#include "kernel/kernel_error.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/paths.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

constexpr const char* READ_FAILED = "Reading it failed part way.";
constexpr const char* NOT_READ_BACK = "%s was not written: it would not read back.\n%s";

// The file is open and is a regular file: check its format, read it, and
// say whether it was whole.
DesignRead readOpenFile(const std::string& path, std::istream& in, bool gem, int32_t symmetry, int32_t mirror,
                        const ReadProgress& progress) {
    DesignRead result;
    auto stone = std::make_unique<Stone>(ROUGH_HALF);
    stone->symmetry = symmetry;
    stone->mirror = mirror;
    if (!(gem ? isGemFile(in) : isAscFile(in))) {
        result.notes.info(DiagCode::DocCorruptFile, strprintf(gem ? docmsg::CORRUPT_GEM : docmsg::CORRUPT_ASC, pathForMessage(path).c_str()));
        result.outcome = ReadOutcome::Corrupt;
        result.stone = std::move(stone);
        return result;
    }
    const std::string damage = gem ? gemDamage(in) : std::string();
    const bool unended = !gem && lastLineUnended(in);
    uint64_t total = 0;
    if (progress) {
        const std::streampos here = in.tellg();
        in.seekg(0, std::ios::end);
        total = static_cast<uint64_t>(std::max<std::streamoff>(0, in.tellg()));
        in.seekg(here);
    }
    // What a cancelled read says about the part it never reached is noise:
    // only the notes made before the user stopped it are kept.
    size_t notesBeforeCancel = 0;
    const Stone* reading = stone.get();
    ReadProgress watched;
    if (progress)
        watched = [&](uint64_t done, uint64_t all) {
            const bool go = progress(done, all);
            if (!go) notesBeforeCancel = reading->diagnostics().size();
            return go;
        };
    ProgressBuffer counted(*in.rdbuf(), total, watched);
    std::istream through(&counted);
    std::istream& source = progress ? through : static_cast<std::istream&>(in);
    try {
        if (gem)
            readGem(*stone, source);
        else
            readAsc(*stone, source);
    } catch (const KernelError& error) {
        Diagnostics said = stone->takeDiagnostics();
        if (counted.cancelled()) {
            said.truncate(notesBeforeCancel);
            result.notes.append(std::move(said));
            result.outcome = ReadOutcome::Cancelled;
            return result;
        }
        result.notes.append(std::move(said));
        result.notes.error(DiagCode::DocReadFailed, error.what());
        return result;
    }
    Diagnostics said = stone->takeDiagnostics();
    if (counted.cancelled()) {
        said.truncate(notesBeforeCancel);
        result.notes.append(std::move(said));
        result.outcome = ReadOutcome::Cancelled;
        return result;
    }
    // Any warning or error, the kernel's own notes included: the stone may
    // hold less than the file.
    for (const Diagnostic& note : said)
        if (isProblem(note.kind)) result.problems = true;
    const bool readerSpoke = result.problems;
    result.notes.append(std::move(said));
    result.outcome = ReadOutcome::Read;
    if (unended) result.notes.info(DiagCode::DocLastLineUnended, strprintf(docmsg::LAST_LINE_UNENDED, pathForMessage(path).c_str()));
    if (!damage.empty()) {
        // Where the reader said nothing of its own (an empty file, settings
        // or lines cut off), the user hears it here.
        if (!readerSpoke)
            result.notes.warning(DiagCode::DocDamagedFile, strprintf(DAMAGED_FILE, pathForMessage(path).c_str()) + "\n" + damage);
        result.problems = result.damaged = true;
        if (stone->nFacet == stone->nRough && !stone->preform) result.outcome = ReadOutcome::Damaged;
    }
    result.stone = std::move(stone);
    return result;
}

// A .brx file is read line by line as it comes off the disk, in bounded
// memory; the progress hears the bytes, which is where the time goes.
DesignRead readOpenIntentFile(const std::string& path, std::istream& in, const ReadProgress& progress) {
    DesignRead result;
    uint64_t total = 0;
    if (progress) {
        in.seekg(0, std::ios::end);
        total = static_cast<uint64_t>(std::max<std::streamoff>(0, in.tellg()));
        in.seekg(0);
    }
    ProgressBuffer counted(*in.rdbuf(), total, progress);
    std::istream through(&counted);
    IntentFileRead read = readIntentText(through);
    if (counted.cancelled()) {
        result.outcome = ReadOutcome::Cancelled;
        return result;
    }
    const std::string where = pathForMessage(path) + ": ";
    if (!read.isIntentFile) {
        result.notes.info(DiagCode::DocIntentFileNotOne, where + read.problem);
        result.outcome = ReadOutcome::Corrupt;
        result.stone = std::make_unique<Stone>(ROUGH_HALF);
        return result;
    }
    result.outcome = ReadOutcome::Read;
    if (!read.note.empty()) result.notes.info(DiagCode::DocIntentFileNote, where + read.note);
    if (!read.problem.empty()) {
        // The tiers after the bad line are missing: what was read is only
        // part of the design, as for a .gem file cut short.
        result.notes.warning(DiagCode::DocIntentFileStopped, where + read.problem);
        result.problems = result.damaged = true;
        if (read.intent.tiers.empty() && !read.stone.preform) result.outcome = ReadOutcome::Damaged;
    }
    result.stone = std::make_unique<Stone>(std::move(read.stone));
    result.intent = std::move(read.intent);
    return result;
}

}  // namespace

DesignRead readDesignFile(const std::string& path, FileType type, int32_t symmetry, int32_t mirror,
                          const ReadProgress& progress) {
    DesignRead result;
    if (type == FileType::Other) return result;
    if (type != FileType::Gem && type != FileType::Asc && type != FileType::Brx) {
        result.notes.info(DiagCode::DocCannotReadType, strprintf(docmsg::CANNOT_READ_TYPE, pathForMessage(path).c_str()));
        return result;
    }
    if (const std::string problem = readProblem(path); !problem.empty()) {
        result.notes.info(DiagCode::FileCannotOpenToRead, fileMessage(filemsg::CANNOT_OPEN_TO_READ, path, problem));
        return result;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int error = errno;
        result.notes.info(DiagCode::FileCannotOpenToRead, fileMessage(filemsg::CANNOT_OPEN_TO_READ, path, error ? std::strerror(error) : ""));
        return result;
    }
    // The stream reports a failing disk by throwing; the user hears of it as
    // of any file that cannot be read, not in the library's own words.
    try {
        if (type == FileType::Brx) return readOpenIntentFile(path, in, progress);
        return readOpenFile(path, in, type == FileType::Gem, symmetry, mirror, progress);
    } catch (const std::ios_base::failure&) {
        result.notes.info(DiagCode::FileCannotOpenToRead, fileMessage(filemsg::CANNOT_OPEN_TO_READ, path, READ_FAILED));
        return result;
    }
}

bool writeDesignFile(const Stone& stone, FileType type, const std::string& path, double millimetresPerUnit,
                     Diagnostics& notes) {
    switch (type) {
    case FileType::Gem: return writeGemFile(stone, path, notes);
    case FileType::Asc: return writeAscFile(stone, path, notes);
    case FileType::Wrl: return writeVrmlFile(stone, path, notes);
    case FileType::Dxf: return writeDxf(stone, path, notes);
    case FileType::B3d: return writeB3d(stone, path, notes);
    case FileType::Thb: return writeThb(stone, path, notes);
    case FileType::Stl: return writeStl(stone, path, millimetresPerUnit, notes);
    case FileType::Obj: return writeObj(stone, path, millimetresPerUnit, notes);
    case FileType::Brx: return writeIntentFile(stone, intentOf(stone, nullptr), path, notes);
    default: break;
    }
    notes.info(DiagCode::DocCannotWriteType, strprintf(docmsg::CANNOT_WRITE_TYPE, pathForMessage(path).c_str()));
    return false;
}

bool writeIntentFile(const Stone& stone, const DesignIntent& intent, const std::string& path,
                     Diagnostics& notes) {
    // What is written is read back first: a file its own reader stops in
    // would lose every tier from that line on.
    const std::string text = writeIntentText(stone, intent);
    const IntentFileRead back =
        readIntentText(std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
    if (!back.problem.empty()) {
        notes.warning(DiagCode::DocNotReadBack, strprintf(NOT_READ_BACK, pathForMessage(path).c_str(), back.problem.c_str()));
        return false;
    }
    ReplacingFile file(path);
    if (!file.isOpen()) {
        notes.warning(DiagCode::FileCannotOpenToWrite, fileMessage(filemsg::CANNOT_OPEN_TO_WRITE, path, file.problem()));
        return false;
    }
    file.stream() << text;
    if (!file.commit()) {
        notes.warning(DiagCode::FileErrorWriting, fileMessage(filemsg::ERROR_WRITING, path, file.problem()));
        return false;
    }
    return true;
}

}  // namespace brevix
