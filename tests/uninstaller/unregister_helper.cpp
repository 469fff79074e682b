// The unregister process as the uninstaller runs it, without the window
// program around it: one argument, the log directory.
#include "uninstaller/process_modes.h"
#include "uninstaller/system_services.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    brevix::uninstall::SystemServices services;
    try {
        return brevix::uninstall::runUnregisterMode(argv[1], services);
    } catch (const std::exception&) {
        return 1;
    }
}
