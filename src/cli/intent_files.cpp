#include "cli/intent_files.h"


#include "cli/cli_support.h"
#include "document/design_io.h"
#include "document/file_type.h"
#include "intent/design_intent.h"
#include "intent/intent_file.h"
#include "platform/strformat.h"

namespace brevix::cli {

bool isIntentPath(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".brx") == 0;
}

DesignAndIntent loadWithIntent(const std::string& path, bool& problems, double meetTolerance) {
    DesignAndIntent out;
    if (!isIntentPath(path)) {
        RunState read;
        out.stone = loadDesign(path, read);
        problems = read.readProblems;
        if (out.stone) out.intent = intentOf(*out.stone, nullptr, meetTolerance);
        return out;
    }
    // The reader says why when it stops; a file whose reading stopped is
    // worked on as far as it was read, and the run fails.
    DesignRead read = readDesignFile(path, FileType::Brx, 8, 1);
    showNotes(read.notes);
    if (read.outcome != ReadOutcome::Read && read.outcome != ReadOutcome::Damaged) return out;
    if (read.problems) problems = true;
    out.damaged = read.damaged;
    out.stone = LoadedStone(read.stone.release());
    out.intent = read.intent ? std::move(*read.intent) : intentOf(*out.stone, nullptr, meetTolerance);
    return out;
}

bool saveWithIntent(const Stone& stone, const DesignIntent& intent, const std::string& path) {
    // A .brx file is read back before it is written; the other formats
    // hold no intent, but a tier they could not take back is refused alike.
    if (!isIntentPath(path)) {
        if (const std::string problem = intentLimitProblem(intent); !problem.empty()) {
            reportError(strprintf("%s: not written: %s", path.c_str(), problem.c_str()));
            return false;
        }
    }
    Diagnostics notes;
    const bool written = isIntentPath(path) ? writeIntentFile(stone, intent, path, notes)
                                            : writeDesignFile(stone, fileTypeOf(path), path, 0, notes);
    showNotes(notes);
    return written;
}

}  // namespace brevix::cli
