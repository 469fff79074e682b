#include "uninstaller/ui/progress_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

#include "uninstaller/ui/qt_texts.h"
#include "uninstaller/ui/uninstaller_dialogs.h"
#include "uninstaller/ui/uninstaller_pictures.h"
#include "uninstaller/uninstall_texts.h"
#include "uninstaller/uninstall_worker.h"

namespace brevix::uninstall {

namespace {

// The run's services as the worker thread sees them: the work goes to the
// machine's services, every report and question to the dialog. Reports are
// queued in order; questions wait for the answer.
class DialogServices : public UninstallServices {
public:
    DialogServices(UninstallServices& inner, ProgressDialog* dialog) : inner_(inner), dialog_(dialog) {}

    void setProgressRange(int total) override { post([total](ProgressDialog* d) { d->setProgressRange(total); }); }
    void stepProgress() override { post([](ProgressDialog* d) { d->stepProgress(); }); }
    void setProgressPosition(int position) override {
        post([position](ProgressDialog* d) { d->setProgressPosition(position); });
    }
    void phaseDone(int phase) override { post([phase](ProgressDialog* d) { d->markPhaseDone(phase); }); }
    void runFinished() override { post([](ProgressDialog* d) { d->runFinished(); }); }
    SharedAnswer askRemoveSharedFile(const std::string& text) override {
        SharedAnswer answer = SharedAnswer::No;
        ask([&](ProgressDialog* d) { answer = uninstall::askRemoveSharedFile(d, text); });
        return answer;
    }
    void showError(const std::string& text, const std::string& caption) override {
        ask([&](ProgressDialog* d) { QMessageBox::critical(d, qtText(caption), qtText(text)); });
    }

    bool runProgram(const std::string& commandLine, int show, bool wait) override {
        return inner_.runProgram(commandLine, show, wait);
    }
    std::string ownExecutable() override { return inner_.ownExecutable(); }
    bool unregisterDll(const std::string& path) override { return inner_.unregisterDll(path); }
    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    DeleteResult deleteFile(const std::string& path) override { return inner_.deleteFile(path); }
    bool isReadOnly(const std::string& path) override { return inner_.isReadOnly(path); }
    bool clearReadOnly(const std::string& path) override { return inner_.clearReadOnly(path); }
    void deleteAtRestart(const std::string& path) override { inner_.deleteAtRestart(path); }
    bool removeDirectory(const std::string& path) override { return inner_.removeDirectory(path); }
    std::optional<uint32_t> regGetDword(RegRoot root, const std::string& key, const std::string& name) override {
        return inner_.regGetDword(root, key, name);
    }
    bool regSetDword(RegRoot root, const std::string& key, const std::string& name, uint32_t value) override {
        return inner_.regSetDword(root, key, name, value);
    }
    bool regDeleteValue(RegRoot root, const std::string& key, const std::string& name) override {
        return inner_.regDeleteValue(root, key, name);
    }
    bool regDeleteKey(RegRoot root, const std::string& key) override { return inner_.regDeleteKey(root, key); }
    void pause(int milliseconds) override { inner_.pause(milliseconds); }

private:
    template <typename F>
    void post(F&& call) {
        ProgressDialog* d = dialog_;
        QMetaObject::invokeMethod(d, [d, call] { call(d); }, Qt::QueuedConnection);
    }
    template <typename F>
    void ask(F&& call) {
        ProgressDialog* d = dialog_;
        QMetaObject::invokeMethod(d, [d, &call] { call(d); }, Qt::BlockingQueuedConnection);
    }

    UninstallServices& inner_;
    ProgressDialog* dialog_;
};

}  // namespace

ProgressDialog::ProgressDialog(UninstallContext& context, UninstallServices& services, QWidget* parent)
    : QDialog(parent), context_(context), services_(std::make_unique<DialogServices>(services, this)) {
    setObjectName(QStringLiteral("ProgressDialog"));
    setWindowTitle(qtText(context.text(TEXT_PROGRESS_TITLE)));
    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(qtText(fillIn(context.text(TEXT_PROGRESS), context.appName)), this);
    explanation->setObjectName(QStringLiteral("Explanation"));
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* phases = new QGridLayout;
    phases->setContentsMargins(24, 6, 0, 6);
    const int markSize = fontMetrics().height();
    for (int i = 0; i < PHASE_COUNT; ++i) {
        checks_[i] = new QLabel(this);
        checks_[i]->setObjectName(QStringLiteral("CheckMark%1").arg(i + 1));
        checks_[i]->setPixmap(checkMarkPixmap(markSize));
        checks_[i]->setFixedSize(markSize, markSize);
        // Hidden marks keep their place, so the labels do not move.
        QSizePolicy keep = checks_[i]->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        checks_[i]->setSizePolicy(keep);
        checks_[i]->hide();
        phases->addWidget(checks_[i], i, 0);
        phases->addWidget(new QLabel(QString::fromLatin1(PHASE_LABELS[i]), this), i, 1);
    }
    phases->setColumnStretch(1, 1);
    layout->addLayout(phases);

    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    layout->addWidget(bar_);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusLine"));
    status_->setWordWrap(true);
    layout->addWidget(status_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    details_ = new QPushButton(QString::fromLatin1(MSG_DETAILS_BUTTON), this);
    details_->setObjectName(QStringLiteral("DetailsButton"));
    details_->setAutoDefault(false);
    details_->setEnabled(false);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OkButton"));
    ok_->setEnabled(false);
    buttons->addWidget(details_);
    buttons->addWidget(ok_);
    layout->addLayout(buttons);
    connect(details_, &QPushButton::clicked, this, [this] { showDetails(); });
    connect(ok_, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    setMinimumWidth(420);
}

ProgressDialog::~ProgressDialog() {
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

void ProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    startRun();
}

void ProgressDialog::startRun() {
    UninstallServices* services = services_.get();
    UninstallContext* context = &context_;
    thread_ = QThread::create([context, services] {
        // A run that fails half-way never says it is finished; OK then stays
        // disabled, and closing the dialog is the way out.
        try {
            UninstallWorker(*context, *services).run();
        } catch (...) {
        }
    });
    thread_->start();
}

void ProgressDialog::setProgressRange(int total) {
    total_ = total;
    // A range of 0..0 would show a busy bar for ever.
    bar_->setRange(0, total > 0 ? total : 1);
    bar_->setValue(0);
}

void ProgressDialog::stepProgress() { bar_->setValue(std::min(bar_->value() + 1, bar_->maximum())); }

void ProgressDialog::setProgressPosition(int position) {
    bar_->setValue(total_ > 0 ? std::min(position, bar_->maximum()) : bar_->maximum());
}

void ProgressDialog::markPhaseDone(int phase) {
    if (phase >= 1 && phase <= PHASE_COUNT) checks_[phase - 1]->show();
}

void ProgressDialog::runFinished() {
    finished_ = true;
    if (!context_.errors.empty()) {
        details_->setEnabled(true);
        status_->setText(qtText(context_.text(TEXT_DONE_WITH_ERRORS)));
    } else {
        status_->setText(qtText(context_.text(TEXT_DONE)));
    }
    ok_->setEnabled(true);
    ok_->setDefault(true);
    ok_->setFocus();
}

void ProgressDialog::reject() {
    // While the run is still working it owns the dialog's reports; closing
    // is possible once it has ended, finished or not.
    if (thread_ && !thread_->isFinished()) return;
    QDialog::reject();
}

void ProgressDialog::showDetails() {
    ErrorDetailsDialog dialog(context_, this);
    dialog.exec();
}

}  // namespace brevix::uninstall
