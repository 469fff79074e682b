#pragma once
// What one removal run shares between the worker and the dialogs: the log,
// the product's name, the error lines and the answers to the shared-file
// question. The worker appends errors; the dialog reads them only after the
// run has said it is finished.
#include <functional>
#include <string>
#include <vector>

#include "uninstaller/install_log.h"

namespace brevix::uninstall {

struct UninstallContext {
    // Where the log lies, ending in a separator.
    std::string logDirectory;
    InstallLog log;
    std::string appName;
    std::vector<std::string> errors;
    // Cleared by Yes to All / No to All.
    bool askAgain = true;
    // The last answer to the shared-file question.
    bool removeShared = false;

    // A user-interface text of the log's COMMON section; empty when absent.
    std::string text(int id) const;
    // Opens the log and reads the application name. A missing log throws
    // FileException; `onMissing` is called first so the user hears of it.
    void openLog(const std::function<void()>& onMissing = {});
};

// The part of `argument` up to and including its last separator.
std::string directoryOf(const std::string& argument);

}  // namespace brevix::uninstall
