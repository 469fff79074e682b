#include "uninstaller/uninstall_context.h"

#include "platform/paths.h"

namespace brevix::uninstall {

std::string UninstallContext::text(int id) const { return log.value("COMMON", std::to_string(id)); }

void UninstallContext::openLog() {
    log.open(logDirectory, LOG_FILE_NAME_LOWER);
    appName = log.value("COMMON", "Application_Name");
}

std::string directoryOf(const std::string& argument) {
    size_t sep = lastPathSeparator(argument);
    return sep == std::string::npos ? std::string() : argument.substr(0, sep + 1);
}

}  // namespace brevix::uninstall
