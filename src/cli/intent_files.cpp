#include "cli/intent_files.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "cli/cli_support.h"
#include "document/design_io.h"
#include "document/file_type.h"
#include "files/replacing_file.h"
#include "intent/design_intent.h"
#include "intent/intent_file.h"
#include "platform/strformat.h"

namespace brevix::cli {

bool isIntentPath(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".brx") == 0;
}

DesignAndIntent loadWithIntent(const std::string& path, bool& problems) {
    DesignAndIntent out;
    if (!isIntentPath(path)) {
        RunState read;
        out.stone = loadDesign(path, read);
        problems = read.readProblems;
        if (out.stone) out.intent = intentOf(*out.stone, nullptr);
        return out;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reportError(strprintf("Cannot open %s to read", path.c_str()));
        return out;
    }
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    IntentFileRead read = readIntentText(bytes);
    if (!read.isIntentFile) {
        reportError(strprintf("%s: %s", path.c_str(), read.problem.c_str()));
        return out;
    }
    if (!read.problem.empty()) {
        reportError(strprintf("%s: %s", path.c_str(), read.problem.c_str()));
        problems = true;
    }
    out.stone = LoadedStone(new Stone(std::move(read.stone)));
    out.intent = std::move(read.intent);
    return out;
}

bool saveWithIntent(const Stone& stone, const DesignIntent& intent, const std::string& path) {
    if (!isIntentPath(path)) return writeDesignFile(stone, fileTypeOf(path), path);
    ReplacingFile file(path);
    if (!file.isOpen()) {
        reportError(strprintf("Cannot open %s to write.", path.c_str()));
        return false;
    }
    file.stream() << writeIntentText(stone, intent);
    if (!file.commit()) {
        reportError(strprintf("Error writing %s. Disk full?", path.c_str()));
        return false;
    }
    return true;
}

}  // namespace brevix::cli
