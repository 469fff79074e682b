#include "document/design_io.h"

#include <fstream>

#include "document/document_messages.h"
#include "files/asc_format.h"
#include "files/exports.h"
#include "files/file_messages.h"
#include "files/gem_format.h"
#include "files/thumbnail.h"
#include "kernel/kernel_error.h"
#include "platform/diagnostics.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/strformat.h"

namespace brevix {


DesignRead readDesignFile(const std::string& path, FileType type, int32_t symmetry, int32_t mirror) {
    DesignRead result;
    if (type == FileType::Other) return result;
    if (type != FileType::Gem && type != FileType::Asc) {
        result.notes.info(strprintf(docmsg::CANNOT_READ_TYPE, pathForMessage(path).c_str()));
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.notes.info(strprintf(filemsg::CANNOT_OPEN_TO_READ, pathForMessage(path).c_str()));
        return result;
    }
    auto stone = std::make_unique<Stone>(ROUGH_HALF);
    stone->symmetry = symmetry;
    stone->mirror = mirror;
    const bool gem = type == FileType::Gem;
    if (!(gem ? isGemFile(in) : isAscFile(in))) {
        result.notes.info(strprintf(gem ? docmsg::CORRUPT_GEM : docmsg::CORRUPT_ASC, pathForMessage(path).c_str()));
        result.outcome = ReadOutcome::Corrupt;
        result.stone = std::move(stone);
        return result;
    }
    try {
        if (gem)
            readGem(*stone, in);
        else
            readAsc(*stone, in);
    } catch (const KernelError& error) {
        result.notes.append(stone->takeDiagnostics());
        result.notes.error(error.what());
        return result;
    }
    result.notes.append(stone->takeDiagnostics());
    // Any warning or error, the kernel's own notes included: the stone may
    // hold less than the file.
    for (const Diagnostic& note : result.notes)
        if (isProblem(note.kind)) result.problems = true;
    result.outcome = ReadOutcome::Read;
    result.stone = std::move(stone);
    return result;
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
    default: break;
    }
    showMessage(strprintf(docmsg::CANNOT_WRITE_TYPE, pathForMessage(path).c_str()), Icon::Information);
    return false;
}

}  // namespace brevix
