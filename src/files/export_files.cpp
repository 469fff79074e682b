#include "files/export_files.h"

#include "files/file_messages.h"
#include "files/replacing_file.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

bool writeExportFile(const std::string& path, const std::string& bytes, const char* cannotOpen,
                     bool binary) {
    ReplacingFile file(path, binary);
    if (!file.isOpen()) {
        showMessage(strprintf(cannotOpen, path.c_str()), Icon::Warning);
        return false;
    }
    file.stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.commit()) {
        showMessage(strprintf(filemsg::ERROR_WRITING, path.c_str()), Icon::Warning);
        return false;
    }
    return true;
}

}  // namespace brevix
