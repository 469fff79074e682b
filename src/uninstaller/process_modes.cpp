#include "uninstaller/process_modes.h"

#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <new>
#include <thread>

#include "uninstaller/app_exception.h"
#include "uninstaller/command_line.h"
#include "uninstaller/install_log.h"
#include "uninstaller/system_services.h"
#include "uninstaller/uninstall_context.h"
#include "uninstaller/uninstall_texts.h"

namespace brevix::uninstall {

std::string temporaryFolder() {
    std::string folder;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) folder = tmp;
    else folder = "/tmp";
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

namespace {

bool copyFile(const std::string& from, int toDescriptor) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return false;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        std::streamsize got = in.gcount();
        for (const char* p = buffer; got > 0;) {
            ssize_t written = ::write(toDescriptor, p, static_cast<size_t>(got));
            if (written < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            p += written;
            got -= written;
        }
    }
    return !in.bad();
}

// A "Del" file in the temporary folder holding a runnable copy of `source`.
std::string makeTemporaryCopy(const std::string& source) {
    std::string pattern = temporaryFolder() + "/" + TEMP_COPY_PREFIX + "XXXXXX";
    int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) return {};
    const bool copied = copyFile(source, descriptor) && ::fchmod(descriptor, 0700) == 0;
    if (::close(descriptor) != 0 || !copied) {
        ::unlink(pattern.c_str());
        return {};
    }
    return pattern;
}

void throwOutOfMemory() { throw WinException("Out of memory", errno); }

}  // namespace

int runLauncher(const std::function<void(const std::string&, const std::string&)>& showError) {
    const std::string own = ownExecutablePath();
    const std::string copy = own.empty() ? std::string() : makeTemporaryCopy(own);
    const std::string line = launcherCommandLine(copy, static_cast<long>(::getpid()), own, directoryOf(own));
    if (copy.empty() || !startProgram(line, false)) {
        if (!copy.empty()) ::unlink(copy.c_str());
        showError(MSG_CANNOT_CREATE_CHILD, MSG_ERROR_CAPTION);
    }
    return -1;
}

int runUnregisterMode(const std::string& argument, UninstallServices& services) {
    InstallLog log;
    log.open(directoryOf(argument), LOG_FILE_NAME);
    std::string path;
    for (int i = 0; log.entry("REGDLLS", i, path); ++i) services.unregisterDll(path);
    return 0;
}

void waitForProcessEnd(long processId) {
    if (processId <= 0) return;
    // A pidfd turns readable when the process ends, even while nobody has
    // collected its exit status yet.
    int descriptor = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(processId), 0));
    if (descriptor >= 0) {
        pollfd wait{descriptor, POLLIN, 0};
        while (::poll(&wait, 1, -1) < 0 && errno == EINTR) {
        }
        ::close(descriptor);
        return;
    }
    if (errno == ESRCH) return;
    // Kernels without pidfds: the launcher is our parent until it ends.
    while (::getppid() == static_cast<pid_t>(processId))
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

std::string startWorker(int argc, char** argv) {
    if (argc < 4) return {};
    waitForProcessEnd(std::strtol(argv[1], nullptr, 10));
    const std::string copyFolder = directoryOf(argv[0]);
    if (!copyFolder.empty() && ::chdir(copyFolder.c_str()) != 0) {
        // The current folder only matters for programs started later; they
        // get the log's full paths anyway.
    }
    std::set_new_handler(throwOutOfMemory);
    return directoryOf(argv[3]);
}

}  // namespace brevix::uninstall
