#include "files/export_files.h"

#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/replacing_file.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

bool writeExportFile(const std::string& path, const std::string& bytes, const char* cannotOpen,
                     bool binary) {
    ReplacingFile file(path, binary);
    if (!file.isOpen()) {
        showMessage(fileMessage(cannotOpen, path, file.problem()), Icon::Warning);
        return false;
    }
    file.stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.commit()) {
        showMessage(fileMessage(filemsg::ERROR_WRITING, path, file.problem()), Icon::Warning);
        return false;
    }
    return true;
}

}  // namespace brevix
