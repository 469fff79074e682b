// uninstaller: removes an installed Brevix by its Setup.log. Started without
// arguments it hands over to a temporary copy of itself (which can then
// delete this file); the copy asks, removes and deletes itself.
#include <QApplication>
#include <QMessageBox>

#include "uninstaller/command_line.h"
#include "uninstaller/process_modes.h"
#include "uninstaller/system_services.h"
#include "uninstaller/ui/worker_mode.h"

using namespace brevix::uninstall;

int main(int argc, char** argv) {
    switch (processModeFor(argc)) {
    case ProcessMode::Unregister: {
        SystemServices services;
        try {
            return runUnregisterMode(argv[1], services);
        } catch (const std::exception&) {
            return 1;
        }
    }
    case ProcessMode::Worker: {
        QApplication application(argc, argv);
        return runWorkerMode(argc, argv);
    }
    case ProcessMode::Launcher:
        break;
    }
    return runLauncher([&](const std::string& text, const std::string& caption) {
        QApplication application(argc, argv);
        QMessageBox::critical(nullptr, QString::fromStdString(caption), QString::fromStdString(text));
    });
}
