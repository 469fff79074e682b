#include "uninstaller/uninstall_context.h"

#include "platform/paths.h"
#include "uninstaller/app_exception.h"
#include "uninstaller/uninstall_texts.h"

namespace brevix::uninstall {

std::string UninstallContext::text(int id) const { return log.value("COMMON", std::to_string(id)); }

void UninstallContext::openLog(const std::function<void()>& onMissing) {
    try {
        log.open(logDirectory, LOG_FILE_NAME_LOWER);
    } catch (const FileException&) {
        if (onMissing) onMissing();
        throw;
    }
    appName = log.value("COMMON", "Application_Name");
}

std::string directoryOf(const std::string& argument) {
    size_t sep = lastPathSeparator(argument);
    return sep == std::string::npos ? std::string() : argument.substr(0, sep + 1);
}

}  // namespace brevix::uninstall
