#include "app/assistant/cutting_assistant.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>
#ifdef BREVIX_HAVE_SPEECH
#include <QTextToSpeech>
#endif

#include "app/assistant/assistant_stone_view.h"
#include "app/assistant/checklist_page.h"
#include "app/design_signals.h"
#include "app/print/diagram_print.h"
#include "assistant/step_texts.h"
#include "design/design_text.h"
#include "document/gem_doc.h"
#include "intent/design_intent.h"
#include "platform/text_encoding.h"

namespace brevix {

namespace {

QString ui(const std::string& cp1252) { return QString::fromStdString(cp1252ToUtf8(cp1252)); }

QLabel* bigLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void setPixelFont(QWidget* w, int pixels, bool bold) {
    QFont f = w->font();
    f.setPixelSize(std::max(8, pixels));
    f.setBold(bold);
    w->setFont(f);
}

// A button the keys never land on: Space must mark a facet, not press it.
QToolButton* actionButton(QWidget* parent, QAction* action) {
    auto* b = new QToolButton(parent);
    b->setDefaultAction(action);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

}  // namespace

CuttingAssistant::CuttingAssistant(CGemDoc& doc, DiagramPrinting* printing, QWidget* parent)
    : QMainWindow(parent), doc_(doc), printing_(printing) {
    setObjectName(QStringLiteral("cuttingAssistant"));
    setWindowFlag(Qt::Window);
    setFocusPolicy(Qt::StrongFocus);
    buildWindow();
    buildSpeech();
    restart();
    resize(1100, 760);
}

CuttingAssistant::~CuttingAssistant() = default;

void CuttingAssistant::buildWindow() {
    auto* central = new QWidget(this);
    central->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(central);
    title_ = bigLabel(central, "assistantTitle");
    setting_ = bigLabel(central, "assistantSetting");
    instruction_ = bigLabel(central, "assistantInstruction");
    next_ = bigLabel(central, "assistantNext");
    progress_ = bigLabel(central, "assistantProgress");
    notice_ = bigLabel(central, "assistantNotice");
    notice_->setStyleSheet(QStringLiteral("background: #fff3b0; padding: 6px;"));
    notice_->hide();
    next_->setStyleSheet(QStringLiteral("color: #404040;"));
    stoneView_ = new AssistantStoneView(session_, central);
    stoneView_->onFacetClicked = [this](int32_t facet) {
        if (session_.goToFacet(facet)) afterMove();
    };

    // Actions: menu entries and buttons share them.
    auto* print = new QAction(QStringLiteral("&Print Checklist..."), this);
    print->setObjectName(QStringLiteral("assistantPrint"));
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, [this] { this->print(); });
    auto* close = new QAction(QStringLiteral("&Close"), this);
    connect(close, &QAction::triggered, this, &QWidget::close);
    auto* mark = new QAction(QStringLiteral("Cut, next  \u25B6"), this);
    mark->setToolTip(QStringLiteral("Mark the facet cut and go on (Space, Enter or Right)"));
    connect(mark, &QAction::triggered, this, &CuttingAssistant::markAndNext);
    auto* backAction = new QAction(QStringLiteral("\u25C0  Back"), this);
    backAction->setToolTip(QStringLiteral("Step back (Backspace or Left)"));
    connect(backAction, &QAction::triggered, this, &CuttingAssistant::back);
    auto* tierAction = new QAction(QStringLiteral("Next tier"), this);
    tierAction->setToolTip(QStringLiteral("Go to the next tier (T)"));
    connect(tierAction, &QAction::triggered, this, &CuttingAssistant::nextTier);
    auto* over = new QAction(QStringLiteral("Start over"), this);
    over->setObjectName(QStringLiteral("assistantStartOver"));
    over->setToolTip(QStringLiteral("Clear the progress of this design"));
    connect(over, &QAction::triggered, this, &CuttingAssistant::startOver);
    byTierAction_ = new QAction(QStringLiteral("Step by &Tier"), this);
    byTierAction_->setObjectName(QStringLiteral("assistantByTier"));
    byTierAction_->setCheckable(true);
    byTierAction_->setToolTip(QStringLiteral("One step per tier instead of one per facet"));
    connect(byTierAction_, &QAction::toggled, this, &CuttingAssistant::setByTier);
    speakAction_ = new QAction(QStringLiteral("&Speak Steps"), this);
    speakAction_->setObjectName(QStringLiteral("assistantSpeak"));
    speakAction_->setCheckable(true);
    connect(speakAction_, &QAction::toggled, this, [this](bool on) {
        if (on) speakCurrent();
    });
    fullScreenAction_ = new QAction(QStringLiteral("&Full Screen"), this);
    fullScreenAction_->setShortcut(QKeySequence(Qt::Key_F11));
    fullScreenAction_->setCheckable(true);
    connect(fullScreenAction_, &QAction::triggered, this, &CuttingAssistant::toggleFullScreen);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(print);
    file->addSeparator();
    file->addAction(close);
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(fullScreenAction_);
    view->addAction(byTierAction_);
    view->addAction(speakAction_);
    view->addSeparator();
    view->addAction(over);

    auto* text = new QVBoxLayout;
    text->addWidget(notice_);
    text->addWidget(title_);
    text->addWidget(setting_);
    text->addWidget(instruction_);
    text->addStretch(1);
    text->addWidget(next_);
    text->addWidget(progress_);
    auto* top = new QHBoxLayout;
    top->addLayout(text, 3);
    top->addWidget(stoneView_, 2);
    auto* buttons = new QHBoxLayout;
    for (QAction* a : {backAction, mark, tierAction}) buttons->addWidget(actionButton(central, a));
    buttons->addStretch(1);
    for (QAction* a : {byTierAction_, speakAction_, fullScreenAction_, over, print})
        buttons->addWidget(actionButton(central, a));
    auto* all = new QVBoxLayout(central);
    all->addLayout(top, 1);
    all->addLayout(buttons);
}

void CuttingAssistant::buildSpeech() {
#ifdef BREVIX_HAVE_SPEECH
    if (QTextToSpeech::availableEngines().isEmpty()) {
        speechReason_ = QStringLiteral(
            "No speech engine is installed (Debian: qt6-speech-flite-plugin or "
            "qt6-speech-speechd-plugin).");
    } else {
        speech_ = new QTextToSpeech(this);
        if (speech_->state() == QTextToSpeech::Error) {
            speechReason_ = QStringLiteral("The speech engine could not be started: ") + speech_->errorString();
        } else {
            speechAvailable_ = true;
            // An engine that starts may still find no sound device when it
            // first speaks: a cutter listening for the steps must hear why not.
            connect(speech_, &QTextToSpeech::errorOccurred, this,
                    [this](QTextToSpeech::ErrorReason, const QString& why) { speechFailed(why); });
        }
    }
#else
    speechReason_ = QStringLiteral(
        "This Brevix was built without Qt's text-to-speech (Debian: qt6-speech-dev).");
#endif
    speakAction_->setEnabled(speechAvailable_);
    speakAction_->setToolTip(speechAvailable_ ? QStringLiteral("Read each step aloud") : speechReason_);
    speakAction_->setStatusTip(speakAction_->toolTip());
}

void CuttingAssistant::restart() {
    intent_.reset();
    progressPath_ = doc_.files().registeredPath.empty() ? std::string() : progressPathFor(doc_.files().registeredPath);
    stoneSeen_ = doc_.stone();
    notice_->hide();
    const Stone* stone = doc_.stone();
    stoneView_->setStone(stone);
    if (!stone) {
        session_ = AssistantSession{};
        refresh();
        return;
    }
    const ProgressReadResult stored = loadProgress(progressPath_);
    fileProgress_ = stored.progress;
    const std::vector<CutFacet> reset = session_.start(*stone, byTierAction_->isChecked(), stored.progress);
    if (!stored.error.empty()) {
        notice_->setText(ui(stored.error));
        notice_->show();
    }
    showReset(reset);
    if (!reset.empty()) save();
    refresh();
}

void CuttingAssistant::designChanged() {
    const std::string path =
        doc_.files().registeredPath.empty() ? std::string() : progressPathFor(doc_.files().registeredPath);
    // Another design, or the same one under a new name: its own progress.
    if (path != progressPath_ && !(progressPath_.empty() && doc_.stone() == stoneSeen_)) {
        restart();
        return;
    }
    intent_.reset();
    // A new design saved for the first time: its progress goes to the file from now on.
    const bool firstSave = path != progressPath_;
    progressPath_ = path;
    // What a file already there held belongs to another design: the first
    // save puts this session's progress in its place.
    if (firstSave) fileProgress_ = loadProgress(path).progress;
    const Stone* stone = doc_.stone();
    stoneSeen_ = stone;
    stoneView_->setStone(stone);
    if (!stone) return;
    const std::vector<CutFacet> reset = session_.designChanged(*stone);
    showReset(reset);
    // Views are updated for redraws too; the file is written only when
    // the progress or its place changed.
    if (firstSave || !reset.empty()) save();
    refresh();
}

void CuttingAssistant::showReset(const std::vector<CutFacet>& reset) {
    if (reset.empty()) return;
    QString text = QStringLiteral("The design has changed: progress reset for %1 facet%2 it no longer has:\n")
                       .arg(reset.size())
                       .arg(reset.size() == 1 ? "" : "s");
    std::string lines = resetReport(reset);
    // Long lists are cut short; the first lines name the tiers.
    int shown = 0;
    std::string summary;
    size_t pos = 0;
    while (pos < lines.size() && shown < 6) {
        const size_t end = lines.find('\n', pos);
        summary += (shown ? ", " : "") + lines.substr(pos, end - pos);
        pos = end + 1;
        ++shown;
    }
    if (reset.size() > 6) summary += ", ...";
    notice_->setText(text + ui(summary));
    notice_->show();
}

void CuttingAssistant::save() {
    ProgressSaveResult saved = saveProgressMerged(progressPath_, fileProgress_, session_.progress());
    if (!saved.error.empty()) {
        notice_->setText(ui(saved.error));
        notice_->show();
        return;
    }
    // Another window's marks, merged into the file, show here too.
    fileProgress_ = saved.saved;
    if (!progressPath_.empty()) session_.adoptProgress(std::move(saved.saved));
}

void CuttingAssistant::refresh() {
    const CuttingStep* step = session_.currentStep();
    setWindowTitle(QStringLiteral("Cutting Assistant - ") + ui(doc_.files().title()));
    if (!doc_.stone() || session_.plan().steps.empty()) {
        title_->setText(QStringLiteral("Nothing to cut"));
        setting_->setText(QStringLiteral("The design has no facets yet."));
        instruction_->clear();
        next_->clear();
        progress_->clear();
        stoneView_->update();
        return;
    }
    if (!step) {
        title_->setText(session_.cutCount() >= session_.plan().facetCount ? QStringLiteral("All facets cut")
                                                                           : QStringLiteral("End of the steps"));
        setting_->setText(QStringLiteral("Well done."));
        instruction_->setText(QStringLiteral("Backspace steps back; Start over clears the progress."));
        next_->clear();
    } else {
        title_->setText(ui(stepTitle(*step)));
        // Angle and index each on a line of their own, however narrow the window.
        setting_->setText(ui(stepSetting(*step)).replace(QStringLiteral("   "), QStringLiteral("\n")));
        std::string detail = step->instruction.empty() ? meetLine(*step) : step->instruction;
        if (step->kind == StepKind::Transfer) {
            const CuttingStep* after = session_.nextStep();
            detail = after ? "Then the " + std::string(after->section == SECTION_CROWN ? "crown" : "pavilion") +
                                 ", angles as set on the machine on that side."
                           : std::string();
        } else if (!step->mirrorText.empty()) {
            detail += (detail.empty() ? "" : "\n") + std::string("Mirror partner: index ") + step->mirrorText;
        }
        instruction_->setText(ui(detail));
        next_->setText(ui(nextStepLine(session_.nextStep())));
    }
    progress_->setText(ui(progressLine(session_)));
    stoneView_->update();
}

std::string CuttingAssistant::meetLine(const CuttingStep& step) {
    if (!doc_.stone()) return {};
    if (!intent_) intent_ = intentOf(*doc_.stone(), doc_.model().recordedIntent() ? &*doc_.model().recordedIntent() : nullptr);
    return recordedMeetLine(*doc_.stone(), *intent_, step);
}

void CuttingAssistant::afterMove() {
    save();
    refresh();
    speakCurrent();
}

void CuttingAssistant::speakCurrent() {
#ifdef BREVIX_HAVE_SPEECH
    if (!speech_ || !speakAction_->isChecked()) return;
    const CuttingStep* step = session_.currentStep();
    const std::string words = step ? spokenStep(*step) : std::string("All facets cut");
    speech_->stop();
    speech_->say(ui(words));
    if (speech_->state() == QTextToSpeech::Error) speechFailed(speech_->errorString());
#endif
}

void CuttingAssistant::speechFailed(const QString& why) {
    if (!speakAction_->isChecked()) return;
    const QSignalBlocker quiet(speakAction_);
    speakAction_->setChecked(false);
    const QString reason = why.isEmpty() ? QStringLiteral("the speech engine gave no reason") : why;
    notice_->setText(QStringLiteral("Speak Steps is switched off: the steps could not be read aloud (%1).").arg(reason));
    notice_->show();
}

void CuttingAssistant::markAndNext() {
    if (!session_.currentStep()) return;
    notice_->hide();
    session_.markAndNext();
    afterMove();
}

void CuttingAssistant::back() {
    notice_->hide();
    session_.back();
    afterMove();
}

void CuttingAssistant::nextTier() {
    notice_->hide();
    session_.nextTier();
    afterMove();
}

void CuttingAssistant::startOver() {
    notice_->hide();
    session_.startOver();
    afterMove();
}

void CuttingAssistant::setByTier(bool byTier) {
    if (byTierAction_->isChecked() != byTier) byTierAction_->setChecked(byTier);  // comes back here
    if (!doc_.stone() || session_.byTier() == byTier) return;
    session_.setByTier(*doc_.stone(), byTier);
    refresh();
}

void CuttingAssistant::toggleFullScreen() {
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
    fullScreenAction_->setChecked(isFullScreen());
}

void CuttingAssistant::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Right: markAndNext(); return;
    case Qt::Key_Backspace:
    case Qt::Key_Left: back(); return;
    case Qt::Key_T: nextTier(); return;
    case Qt::Key_Escape: close(); return;
    default: QMainWindow::keyPressEvent(event);
    }
}

void CuttingAssistant::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Type in proportion to the window: the setting is the largest.
    const int unit = std::max(10, height() / 32);
    setPixelFont(title_, unit * 2, true);
    setPixelFont(setting_, unit * 3, true);
    setPixelFont(instruction_, unit * 3 / 2, false);
    setPixelFont(next_, unit * 5 / 4, false);
    setPixelFont(progress_, unit * 3 / 2, true);
    setPixelFont(notice_, unit, false);
}

void CuttingAssistant::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    setFocus();
}

bool CuttingAssistant::printChecklist(QPagedPaintDevice& device) {
    const Stone* stone = doc_.stone();
    return paintChecklist(device, session_, doc_.files().title(), stone ? stone->heading[0] : std::string());
}

void CuttingAssistant::print() {
    std::unique_ptr<QPrinter> own;
    QPrinter* printer = printing_ ? &printing_->printer() : (own = std::make_unique<QPrinter>()).get();
    printer->setDocName(QStringLiteral("Cutting checklist - ") + ui(doc_.files().title()));
    QPrintDialog dialog(printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printChecklist(*printer);
}

CuttingAssistant* openCuttingAssistant(QWidget* frame, CGemDoc& doc, const DesignSignals& changes,
                                       DiagramPrinting* printing) {
    auto* existing = frame->findChild<CuttingAssistant*>(QStringLiteral("cuttingAssistant"));
    if (existing) {
        existing->designChanged();
    } else {
        existing = new CuttingAssistant(doc, printing, frame);
        // Hidden too: the session must never hold a stone the document replaced.
        QObject::connect(&changes, &DesignSignals::designChanged, existing,
                         [window = existing] { window->designChanged(); });
    }
    existing->show();
    existing->raise();
    existing->activateWindow();
    return existing;
}

}  // namespace brevix
