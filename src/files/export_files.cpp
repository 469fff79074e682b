#include "files/export_files.h"

#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/replacing_file.h"
#include "platform/diag_codes.h"
#include "platform/diagnostics.h"
#include "platform/strformat.h"

namespace brevix {

bool writeExportFile(const std::string& path, const std::string& bytes, const char* cannotOpen,
                     bool binary, Diagnostics& notes) {
    ReplacingFile file(path, binary);
    if (!file.isOpen()) {
        notes.warning(DiagCode::FileCannotOpenToWrite, fileMessage(cannotOpen, path, file.problem()));
        return false;
    }
    file.stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.commit()) {
        notes.warning(DiagCode::FileErrorWriting, fileMessage(filemsg::ERROR_WRITING, path, file.problem()));
        return false;
    }
    return true;
}

}  // namespace brevix
