#include "document/design_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
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
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

// Passes everything on to the sink in place and notes whether any of it was
// a warning or an error (information such as "File has a preform" is none).
class ProblemWatch : public MessageSink {
public:
    explicit ProblemWatch(MessageSink& next) : next_(next) {}
    void show(std::string_view text, Icon icon) override {
        // What a cancelled read says about the part it never reached is noise.
        if (reading && reading->cancelled()) return;
        if (icon == Icon::Warning || icon == Icon::Error) problems = true;
        next_.show(text, icon);
    }
    Answer ask(std::string_view text, Buttons buttons, Icon icon, Answer fallback) override {
        return next_.ask(text, buttons, icon, fallback);
    }
    bool problems = false;
    const ProgressBuffer* reading = nullptr;

private:
    MessageSink& next_;
};

constexpr const char* READ_FAILED = "Reading it failed part way.";

// The file is open and is a regular file: check its format, read it, and
// say whether it was whole.
DesignRead readOpenFile(const std::string& path, std::istream& in, bool gem, int32_t symmetry, int32_t mirror,
                        const ReadProgress& progress) {
    DesignRead result;
    auto stone = std::make_unique<Stone>(ROUGH_HALF);
    stone->symmetry = symmetry;
    stone->mirror = mirror;
    if (!(gem ? isGemFile(in) : isAscFile(in))) {
        showMessage(strprintf(gem ? docmsg::CORRUPT_GEM : docmsg::CORRUPT_ASC, pathForMessage(path).c_str()),
                    Icon::Information);
        result.outcome = ReadOutcome::Corrupt;
        result.stone = std::move(stone);
        return result;
    }
    const std::string damage = gem ? gemDamage(in) : ascDamage(in);
    ProblemWatch watch(messageSink());
    uint64_t total = 0;
    if (progress) {
        const std::streampos here = in.tellg();
        in.seekg(0, std::ios::end);
        total = static_cast<uint64_t>(std::max<std::streamoff>(0, in.tellg()));
        in.seekg(here);
    }
    ProgressBuffer counted(*in.rdbuf(), total, progress);
    std::istream through(&counted);
    watch.reading = &counted;
    std::istream& source = progress ? through : static_cast<std::istream&>(in);
    try {
        ScopedMessageSink watching(watch);
        if (gem)
            readGem(*stone, source);
        else
            readAsc(*stone, source);
    } catch (const KernelError& error) {
        if (counted.cancelled()) {
            result.outcome = ReadOutcome::Cancelled;
            return result;
        }
        showMessage(error.what(), Icon::Error);
        return result;
    }
    if (counted.cancelled()) {
        result.outcome = ReadOutcome::Cancelled;
        return result;
    }
    result.problems = watch.problems;
    result.outcome = ReadOutcome::Read;
    if (!damage.empty()) {
        // Where the reader said nothing of its own (an empty file, settings
        // or lines cut off), the user hears it here.
        if (!watch.problems)
            showMessage(strprintf(DAMAGED_FILE, pathForMessage(path).c_str()) + "\n" + damage, Icon::Warning);
        result.problems = result.damaged = true;
        if (stone->nFacet == stone->nRough && !stone->preform) result.outcome = ReadOutcome::Damaged;
    }
    result.stone = std::move(stone);
    return result;
}

// A .brx file is read whole and parsed in memory; the progress hears the
// bytes as they come off the disk, which is where the time goes.
DesignRead readOpenIntentFile(const std::string& path, std::istream& in, const ReadProgress& progress) {
    DesignRead result;
    uint64_t total = 0;
    if (progress) {
        in.seekg(0, std::ios::end);
        total = static_cast<uint64_t>(std::max<std::streamoff>(0, in.tellg()));
        in.seekg(0);
    }
    ProgressBuffer counted(*in.rdbuf(), total, progress);
    std::vector<unsigned char> bytes;
    char piece[4096];
    for (std::streamsize got; (got = counted.sgetn(piece, sizeof piece)) > 0;)
        bytes.insert(bytes.end(), piece, piece + got);
    if (counted.cancelled()) {
        result.outcome = ReadOutcome::Cancelled;
        return result;
    }
    IntentFileRead read = readIntentText(bytes);
    const std::string where = pathForMessage(path) + ": ";
    if (!read.isIntentFile) {
        showMessage(where + read.problem, Icon::Information);
        result.outcome = ReadOutcome::Corrupt;
        result.stone = std::make_unique<Stone>(ROUGH_HALF);
        return result;
    }
    result.outcome = ReadOutcome::Read;
    if (!read.problem.empty()) {
        // The tiers after the bad line are missing: what was read is only
        // part of the design, as for a .gem file cut short.
        showMessage(where + read.problem, Icon::Warning);
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
    if (type == FileType::Other) return {};
    if (type != FileType::Gem && type != FileType::Asc && type != FileType::Brx) {
        showMessage(strprintf(docmsg::CANNOT_READ_TYPE, pathForMessage(path).c_str()), Icon::Information);
        return {};
    }
    if (const std::string problem = readProblem(path); !problem.empty()) {
        showMessage(fileMessage(filemsg::CANNOT_OPEN_TO_READ, path, problem), Icon::Information);
        return {};
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int error = errno;
        showMessage(fileMessage(filemsg::CANNOT_OPEN_TO_READ, path, error ? std::strerror(error) : ""),
                    Icon::Information);
        return {};
    }
    // The stream reports a failing disk by throwing; the user hears of it as
    // of any file that cannot be read, not in the library's own words.
    try {
        if (type == FileType::Brx) return readOpenIntentFile(path, in, progress);
        return readOpenFile(path, in, type == FileType::Gem, symmetry, mirror, progress);
    } catch (const std::ios_base::failure&) {
        showMessage(fileMessage(filemsg::CANNOT_OPEN_TO_READ, path, READ_FAILED), Icon::Information);
        return {};
    }
}

bool writeDesignFile(const Stone& stone, FileType type, const std::string& path, double millimetresPerUnit) {
    switch (type) {
    case FileType::Gem: return writeGemFile(stone, path);
    case FileType::Asc: return writeAscFile(stone, path);
    case FileType::Wrl: return writeVrmlFile(stone, path);
    case FileType::Dxf: return writeDxf(stone, path);
    case FileType::B3d: return writeB3d(stone, path);
    case FileType::Thb: return writeThb(stone, path);
    case FileType::Stl: return writeStl(stone, path, millimetresPerUnit);
    case FileType::Obj: return writeObj(stone, path, millimetresPerUnit);
    case FileType::Brx: return writeIntentFile(stone, intentOf(stone, nullptr), path);
    default: break;
    }
    showMessage(strprintf(docmsg::CANNOT_WRITE_TYPE, pathForMessage(path).c_str()), Icon::Information);
    return false;
}

bool writeIntentFile(const Stone& stone, const DesignIntent& intent, const std::string& path) {
    ReplacingFile file(path);
    if (!file.isOpen()) {
        showMessage(fileMessage(filemsg::CANNOT_OPEN_TO_WRITE, path, file.problem()), Icon::Warning);
        return false;
    }
    file.stream() << writeIntentText(stone, intent);
    if (!file.commit()) {
        showMessage(fileMessage(filemsg::ERROR_WRITING, path, file.problem()), Icon::Warning);
        return false;
    }
    return true;
}

}  // namespace brevix
