#pragma once
// The dialog that carries the removal run: six phases with their check
// marks, the progress bar, the closing status line, "Details..." and OK.
// The run goes on a worker thread; everything it reports arrives here as
// queued calls, and its questions are asked here, on the window's thread.
#include <QDialog>
#include <memory>

#include "uninstaller/uninstall_context.h"
#include "uninstaller/uninstall_services.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;

namespace brevix::uninstall {

class ProgressDialog : public QDialog {
public:
    // `services` does the run's work on the machine (or a test's world);
    // the dialog adds itself as the run's progress and question side.
    ProgressDialog(UninstallContext& context, UninstallServices& services, QWidget* parent = nullptr);
    ~ProgressDialog() override;

    // What the worker reports, in the thread of the dialog.
    void setProgressRange(int total);
    void stepProgress();
    void setProgressPosition(int position);
    void markPhaseDone(int phase);
    void runFinished();

    bool finished() const { return finished_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* detailsButton() const { return details_; }
    QProgressBar* progressBar() const { return bar_; }
    QLabel* statusLine() const { return status_; }
    QLabel* checkMark(int phase) const { return checks_[phase - 1]; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void startRun();
    void showDetails();

    UninstallContext& context_;
    std::unique_ptr<UninstallServices> services_;
    QThread* thread_ = nullptr;
    bool started_ = false;
    bool finished_ = false;
    int total_ = 0;
    QLabel* checks_[6] = {};
    QProgressBar* bar_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* details_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace brevix::uninstall
