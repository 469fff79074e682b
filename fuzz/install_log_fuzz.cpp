// libFuzzer target: the install log reader and every lookup the removal run
// makes on it, including the registry lines it splits.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "uninstaller/install_log.h"
#include "uninstaller/uninstall_worker.h"

using namespace brevix::uninstall;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallLog log;
    log.load(std::string_view(reinterpret_cast<const char*>(data), size));
    static const char* const sections[] = {"COMMON", "REGDLLS", "RUNAPPS", "SHAREDFILES", "STDFILES",
                                           "APPFILES", "APPFOLDERS", "APPDIR", "REGENTRY", "REGVALUES"};
    for (const char* section : sections) {
        const int count = log.sectionCount(section);
        std::string line;
        int seen = 0;
        while (log.entry(section, seen, line)) {
            if (line.size() < 3 || line.find('\n') != std::string::npos) std::abort();
            size_t comma = line.find(',');
            if (comma != std::string::npos) registryKeyMayGo(line.substr(0, comma), line.substr(comma + 1));
            ++seen;
        }
        if (seen != count) std::abort();
    }
    log.value("COMMON", "Application_Name");
    log.value("RUNAPPS", "BeforeUninstall");
    return 0;
}
