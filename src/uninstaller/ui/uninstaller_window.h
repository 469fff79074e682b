#pragma once
// The uninstaller's small main window. Its work is a chain of posted steps:
// ask for confirmation, then run the removal in the progress dialog, then
// close. No answers "no" and ends the chain without touching anything.
#include <QMainWindow>
#include <exception>

#include "uninstaller/uninstall_context.h"
#include "uninstaller/uninstall_services.h"

namespace brevix::uninstall {

class UninstallerWindow : public QMainWindow {
    Q_OBJECT
public:
    UninstallerWindow(UninstallContext& context, UninstallServices& services, QWidget* parent = nullptr);

    // Posts the first step; the window must be shown by then.
    void start();
    // What a step threw, for the caller to report once the loop has ended.
    std::exception_ptr failure() const { return failure_; }

Q_SIGNALS:
    // The window has closed: the program's loop may end.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename Step>
    void post(Step step);
    void confirm();
    void removeAll();
    void end();

    UninstallContext& context_;
    UninstallServices& services_;
    std::exception_ptr failure_;
};

}  // namespace brevix::uninstall
