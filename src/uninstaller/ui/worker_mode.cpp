#include "uninstaller/ui/worker_mode.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/strformat.h"
#include "uninstaller/app_exception.h"
#include "uninstaller/process_modes.h"
#include "uninstaller/system_services.h"
#include "uninstaller/ui/qt_texts.h"
#include "uninstaller/ui/uninstaller_pictures.h"
#include "uninstaller/ui/uninstaller_window.h"
#include "uninstaller/uninstall_texts.h"

namespace brevix::uninstall {

namespace {

void warn(const std::string& text) {
    QMessageBox::warning(nullptr, QString::fromLatin1(MSG_EXCEPTION_CAPTION), qtText(text));
}

int runUserInterface(const std::string& logDirectory, SystemServices& services) {
    UninstallContext context;
    context.logDirectory = logDirectory;
    context.openLog([] {
        QMessageBox::critical(nullptr, QString::fromLatin1(MSG_ERROR_CAPTION), QString::fromLatin1(MSG_CANT_OPEN_LOG));
    });
    UninstallerWindow window(context, services);
    QObject::connect(&window, &UninstallerWindow::closed, qApp, [] { QCoreApplication::exit(0); },
                     Qt::QueuedConnection);
    window.show();
    window.start();
    const int code = QApplication::exec();
    if (window.failure()) std::rethrow_exception(window.failure());
    return code;
}

}  // namespace

int runWorkerMode(int argc, char** argv) {
    QApplication::setWindowIcon(uninstallerIcon());
    SystemServices services;
    int code = -1;
    try {
        const std::string logDirectory = startWorker(argc, argv);
        code = runUserInterface(logDirectory, services);
    } catch (const AppException& e) {
        if (e.kind() == AppException::SystemCall) warn(strprintf("%s, Error %d", e.what(), e.errorNumber()));
        else if (e.kind() == AppException::Model) warn(MSG_MODEL_EXCEPTION);
    } catch (...) {
        warn(MSG_UNKNOWN_EXCEPTION);
    }
    // The copy is not needed once the window has gone; Linux lets a running
    // program delete its own file. The running file itself is taken rather
    // than argv[0], which a hand-typed start could give as a bare name that
    // means another file in the current folder.
    const std::string self = ownExecutablePath();
    services.deleteAtRestart(self.empty() ? std::string(argv[0]) : self);
    return code;
}

}  // namespace brevix::uninstall
