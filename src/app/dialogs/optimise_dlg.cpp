#include "app/dialogs/optimise_dlg.h"
#include "app/dialogs/optimise_lightings.h"
#include "app/dialogs/readable_title.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>

#include "document/gem_doc.h"
#include "document/optimised_design.h"
#include "intent/intent_words.h"
#include "optics/compare_picture.h"
#include "optics/light_picture.h"
#include "optics/light_score.h"
#include "optics/materials.h"
#include "optimise/problem.h"
#include "platform/strformat.h"
#include "platform/text_encoding.h"

namespace brevix {

namespace {

enum Column { Vary, Name, Angle, Lowest, Highest };

QDoubleSpinBox* spin(QWidget* parent, double low, double high, double value, int decimals, const QString& name) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setValue(value);
    box->setObjectName(name);
    return box;
}

QString number(double value) { return QString::number(value, 'f', 2); }

}  // namespace

OptimiseDlg::OptimiseDlg(CGemDoc& doc, Mode mode, QWidget* parent)
    : QDialog(parent), doc_(doc), mode_(mode), design_(doc.ensureStone()), intent_(doc.model().intent()) {
    setWindowTitle(mode == Mode::Optimise ? QStringLiteral("Optimize") : QStringLiteral("Retarget to Material"));
    refractiveIndex_ = design_.refractiveIndex;
    auto* layout = new QVBoxLayout(this);
    const optimise::OptimiseSettings defaults;

    if (mode == Mode::Optimise) {
        const std::vector<int32_t> tiers = optimise::defaultTiers(intent_);
        tiers_ = new QTableWidget(int(tiers.size()), 5, this);
        tiers_->setObjectName(QStringLiteral("optimiseTiers"));
        tiers_->setHorizontalHeaderLabels({QStringLiteral("Vary"), QStringLiteral("Tier"), QStringLiteral("Angle"),
                                           QStringLiteral("Lowest"), QStringLiteral("Highest")});
        tiers_->verticalHeader()->hide();
        for (int row = 0; row < int(tiers.size()); ++row) {
            const TierIntent& tier = intent_.tiers[tiers[row]];
            const double shown = std::fabs(tier.angle);
            auto* vary = new QTableWidgetItem;
            vary->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
            vary->setCheckState(Qt::Checked);
            vary->setData(Qt::UserRole, tiers[row]);
            tiers_->setItem(row, Vary, vary);
            auto* name = new QTableWidgetItem(
                QString::fromStdString(cp1252ToUtf8(tierLabel(design_, intent_, tiers[row]))));
            name->setFlags(Qt::ItemIsEnabled);
            tiers_->setItem(row, Name, name);
            auto* angle = new QTableWidgetItem(number(shown));
            angle->setFlags(Qt::ItemIsEnabled);
            tiers_->setItem(row, Angle, angle);
            const double span = defaults.limits.angleSpan;
            tiers_->setItem(row, Lowest, new QTableWidgetItem(number(std::max(0.5, shown - span))));
            tiers_->setItem(row, Highest, new QTableWidgetItem(number(std::min(89.5, shown + span))));
        }
        tiers_->resizeColumnsToContents();
        tiers_->horizontalHeader()->setStretchLastSection(true);
        tiers_->setMinimumHeight(160);
        layout->addWidget(tiers_);
    } else {
        auto* row = new QHBoxLayout;
        auto* materialLabel = new QLabel(QStringLiteral("&Material:"), this);
        row->addWidget(materialLabel);
        material_ = new QComboBox(this);
        // A label's ampersand marks its key only when it names a buddy.
        materialLabel->setBuddy(material_);
        material_->setObjectName(QStringLiteral("retargetMaterial"));
        for (const optics::Material& m : optics::materials())
            material_->addItem(QString::fromStdString(strprintf("%s (%.3f)", m.name.c_str(), m.refractiveIndex)),
                               QString::fromStdString(m.name));
        material_->setCurrentIndex(0);
        row->addWidget(material_, 1);
        layout->addLayout(row);
    }

    auto* goal = new QGroupBox(QStringLiteral("Goal weights (averaged over tilts -20 to 20 degrees)"), this);
    auto* goalForm = new QFormLayout(goal);
    const optimise::ProblemRequest request;
    const optimise::GoalWeights& w = request.weights;
    goal_ = new QComboBox(goal);
    goal_->setObjectName(QStringLiteral("goal"));
    for (optimise::Goal g : {optimise::Goal::Balanced, optimise::Goal::Brightness, optimise::Goal::Sparkle}) {
        QString name = QString::fromLatin1(optimise::goalName(g));
        name[0] = name[0].toUpper();
        goal_->addItem(name);
    }
    goalForm->addRow(QStringLiteral("&Goal"), goal_);
    weightIso_ = spin(goal, 0, 10, w.iso, 2, QStringLiteral("weightIso"));
    weightCos_ = spin(goal, 0, 10, w.cos, 2, QStringLiteral("weightCos"));
    weightWindow_ = spin(goal, 0, 10, w.windowing, 2, QStringLiteral("weightWindowing"));
    weightExtinction_ = spin(goal, 0, 10, w.extinction, 2, QStringLiteral("weightExtinction"));
    weightContrast_ = spin(goal, 0, 10, w.contrast, 2, QStringLiteral("weightContrast"));
    weightScintillation_ = spin(goal, 0, 10, w.scintillation, 2, QStringLiteral("weightScintillation"));
    goalForm->addRow(QStringLiteral("ISO brightness (+)"), weightIso_);
    goalForm->addRow(QStringLiteral("COS brightness (+)"), weightCos_);
    goalForm->addRow(QStringLiteral("Windowing (-)"), weightWindow_);
    goalForm->addRow(QStringLiteral("Extinction (-)"), weightExtinction_);
    goalForm->addRow(QStringLiteral("Contrast (+)"), weightContrast_);
    goalForm->addRow(QStringLiteral("Scintillation (+)"), weightScintillation_);
    robust_ = new QCheckBox(QStringLiteral("Prefer designs that &forgive machine error"), goal);
    robust_->setObjectName(QStringLiteral("robust"));
    robust_->setToolTip(QStringLiteral("Score each candidate over copies cut a little off, as a machine cuts: "
                                       "slower, and away from angles where a tenth of a degree costs light"));
    goalForm->addRow(robust_);
    // The rooms each candidate is judged under: three to a row, so the group
    // keeps its width.
    auto* lightingBoxes = new QWidget(goal);
    auto* lightingGrid = new QGridLayout(lightingBoxes);
    lightingGrid->setContentsMargins(0, 0, 0, 0);
    for (optics::Environment e : optics::ALL_ENVIRONMENTS) {
        auto* box = new QCheckBox(QString::fromLatin1(optics::environmentLabel(e)), lightingBoxes);
        box->setObjectName(QStringLiteral("lighting_") + QString::fromLatin1(optics::environmentKey(e)));
        box->setChecked(std::find(request.lightings.begin(), request.lightings.end(), e) != request.lightings.end());
        const int n = int(lightings_.size());
        lightingGrid->addWidget(box, n / 3, n % 3);
        lightings_.push_back(box);
    }
    auto* lightingLabel = new QLabel(QStringLiteral("&Lighting"), goal);
    lightingLabel->setBuddy(lightings_.front());
    lightingLabel->setToolTip(QStringLiteral("The lightings each candidate is judged under (see the Light "
                                             "Performance pane)"));
    goalForm->addRow(lightingLabel, lightingBoxes);
    worstLighting_ = new QCheckBox(QStringLiteral("Worst &decides"), goal);
    worstLighting_->setObjectName(QStringLiteral("worstLighting"));
    worstLighting_->setChecked(request.worstLighting);
    worstLighting_->setToolTip(QStringLiteral("Judge each candidate by its worst lighting, not by the mean over "
                                              "the lightings: a design that does well in every room"));
    goalForm->addRow(worstLighting_);
    // The worst of one lighting is that lighting: the box means something
    // only with two or more, as on the command line.
    auto enableWorst = [this] { worstLighting_->setEnabled(chosenLightings().size() >= 2); };
    for (QCheckBox* box : lightings_) connect(box, &QCheckBox::toggled, this, enableWorst);
    enableWorst();

    auto* limits = new QGroupBox(QStringLiteral("Limits"), this);
    auto* limitForm = new QFormLayout(limits);
    // Labels keep their whole width; a field that has no room goes below its label.
    goalForm->setRowWrapPolicy(QFormLayout::WrapLongRows);
    limitForm->setRowWrapPolicy(QFormLayout::WrapLongRows);
    leastCrown_ = spin(limits, 0, 89, defaults.limits.leastCrownAngle, 1, QStringLiteral("leastCrownAngle"));
    proportionSpan_ = spin(limits, 1, 100, defaults.limits.proportionSpan * 100, 0, QStringLiteral("proportionSpan"));
    seconds_ = spin(limits, 1, 3600, request.seconds, 0, QStringLiteral("seconds"));
    const optimise::Limits& l = request.limits;
    criticalMargin_ = spin(limits, -45, 45, l.criticalMargin, 2, QStringLiteral("criticalMargin"));
    minFacetShare_ = spin(limits, 0, 100, l.minFacetShare * 100, 0, QStringLiteral("minFacetShare"));
    orderGap_ = spin(limits, 0, 90, l.orderGap, 2, QStringLiteral("orderGap"));
    minGirdleShare_ = spin(limits, 0, 100, l.minGirdleShare * 100, 0, QStringLiteral("minGirdleShare"));
    noNewWarnings_ = new QCheckBox(QStringLiteral("No new design &warning"), limits);
    noNewWarnings_->setObjectName(QStringLiteral("noNewWarnings"));
    noNewWarnings_->setChecked(l.noNewWarnings);
    limitForm->addRow(QStringLiteral("Least crown angle (degrees)"), leastCrown_);
    limitForm->addRow(QStringLiteral("Table and crown height within (%)"), proportionSpan_);
    limitForm->addRow(QStringLiteral("Pavilion above the critical angle by (degrees)"), criticalMargin_);
    limitForm->addRow(QStringLiteral("Least facet area (% of its start)"), minFacetShare_);
    limitForm->addRow(QStringLiteral("Tiers this far apart keep their order (degrees)"), orderGap_);
    limitForm->addRow(QStringLiteral("Thinnest girdle (% of its start)"), minGirdleShare_);
    limitForm->addRow(noNewWarnings_);
    connect(goal_, &QComboBox::currentIndexChanged, this, &OptimiseDlg::applyGoal);
    limitForm->addRow(QStringLiteral("Time limit (seconds)"), seconds_);
    auto* settingsRow = new QHBoxLayout;
    settingsRow->addWidget(goal);
    settingsRow->addWidget(limits);
    layout->addLayout(settingsRow);

    auto* runRow = new QHBoxLayout;
    start_ = new QPushButton(QStringLiteral("&Start"), this);
    stop_ = new QPushButton(QStringLiteral("S&top"), this);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("optimiseProgress"));
    runRow->addWidget(start_);
    runRow->addWidget(stop_);
    runRow->addWidget(progress_, 1);
    layout->addLayout(runRow);

    auto* watchRow = new QHBoxLayout;
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("optimiseBestPicture"));
    picture_->setFixedSize(150, 150);
    picture_->setAlignment(Qt::AlignCenter);
    best_ = new QLabel(this);
    best_->setObjectName(QStringLiteral("optimiseBest"));
    best_->setWordWrap(true);
    watchRow->addWidget(picture_);
    watchRow->addWidget(best_, 1);
    layout->addLayout(watchRow);

    auto* resultRow = new QHBoxLayout;
    results_ = new QListWidget(this);
    results_->setObjectName(QStringLiteral("optimiseResults"));
    results_->setMinimumHeight(150);
    resultRow->addWidget(results_, 1);
    compare_ = new QLabel(this);
    compare_->setObjectName(QStringLiteral("optimiseCompare"));
    compare_->setAlignment(Qt::AlignCenter);
    compare_->setToolTip(QStringLiteral("Left the start, right the chosen result; below as a viewer sees them, "
                                        "with the head shadow."));
    resultRow->addWidget(compare_);
    layout->addLayout(resultRow);
    connect(results_, &QListWidget::currentRowChanged, this, &OptimiseDlg::showCompare);

    auto* buttons = new QHBoxLayout;
    apply_ = new QPushButton(QStringLiteral("&Apply"), this);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    buttons->addStretch(1);
    buttons->addWidget(apply_);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(start_, &QPushButton::clicked, this, &OptimiseDlg::start);
    connect(stop_, &QPushButton::clicked, this, &OptimiseDlg::stop);
    connect(apply_, &QPushButton::clicked, this, [this] {
        if (apply(results_->currentRow())) accept();
    });
    connect(close, &QPushButton::clicked, this, &OptimiseDlg::reject);
    setRunning(false);
    apply_->setEnabled(false);
    keepTitleReadable(*this);
}

OptimiseDlg::~OptimiseDlg() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

void OptimiseDlg::reject() {
    stop();
    if (worker_.joinable()) worker_.join();
    QDialog::reject();
}

void OptimiseDlg::applyGoal(int index) {
    const optimise::GoalWeights w = optimise::goalWeights(optimise::Goal(std::clamp(index, 0, 2)));
    weightIso_->setValue(w.iso);
    weightCos_->setValue(w.cos);
    weightWindow_->setValue(w.windowing);
    weightExtinction_->setValue(w.extinction);
    weightContrast_->setValue(w.contrast);
    weightScintillation_->setValue(w.scintillation);
}

optimise::OptimiseSettings OptimiseDlg::settings() const {
    optimise::ProblemRequest r;
    r.weights.iso = weightIso_->value();
    r.weights.cos = weightCos_->value();
    r.weights.windowing = weightWindow_->value();
    r.weights.extinction = weightExtinction_->value();
    r.weights.contrast = weightContrast_->value();
    r.weights.scintillation = weightScintillation_->value();
    r.limits.leastCrownAngle = leastCrown_->value();
    r.limits.proportionSpan = proportionSpan_->value() / 100;
    r.limits.criticalMargin = criticalMargin_->value();
    r.limits.minFacetShare = minFacetShare_->value() / 100;
    r.limits.orderGap = orderGap_->value();
    r.limits.minGirdleShare = minGirdleShare_->value() / 100;
    r.limits.noNewWarnings = noNewWarnings_->isChecked();
    r.robustSamples = robust_->isChecked() ? optimise::DEFAULT_ROBUST_SAMPLES : 0;
    r.seconds = seconds_->value();
    r.lightings = chosenLightings();
    r.worstLighting = worstLighting_->isChecked() && r.lightings.size() >= 2;
    // Light as the pane and the command line choose it: the listed material
    // when retargeting, otherwise the design's own index.
    if (material_) r.material = optics::findMaterial(material_->currentData().toString().toStdString());
    if (tiers_) {
        const double span = r.limits.angleSpan;
        for (int row = 0; row < tiers_->rowCount(); ++row) {
            if (tiers_->item(row, Vary)->checkState() != Qt::Checked) continue;
            const int32_t tier = tiers_->item(row, Vary)->data(Qt::UserRole).toInt();
            r.tiers.push_back(tier);
            // Only a range the cutter typed counts: the default one is shown
            // rounded, and the rounded ends would send the search elsewhere
            // than the command line's.
            const QString lowText = tiers_->item(row, Lowest)->text(), highText = tiers_->item(row, Highest)->text();
            const double shown = std::fabs(intent_.tiers[tier].angle);
            if (lowText == number(std::max(0.5, shown - span)) && highText == number(std::min(89.5, shown + span)))
                continue;
            bool okLow = false, okHigh = false;
            const double low = lowText.toDouble(&okLow);
            const double high = highText.toDouble(&okHigh);
            if (okLow && okHigh) r.ranges.push_back({tier, low, high});
        }
        // Every tier ticked is every tier that can vary: as the command line without --vary.
        if (int(r.tiers.size()) == tiers_->rowCount()) r.tiers.clear();
    }
    return optimise::problemSettings(design_.refractiveIndex, r);
}

std::vector<optics::Environment> OptimiseDlg::chosenLightings() const {
    std::vector<bool> ticked;
    for (const QCheckBox* box : lightings_) ticked.push_back(box->isChecked());
    return tickedLightings(ticked);
}

void OptimiseDlg::setRunning(bool running) {
    start_->setEnabled(!running);
    stop_->setEnabled(running);
    if (running) apply_->setEnabled(false);
}

void OptimiseDlg::start() {
    if (worker_.joinable()) {
        if (!finished_) return;
        worker_.join();
    }
    optimise::OptimiseSettings s = settings();
    if (tiers_ && s.tiers.empty() && tiers_->rowCount() > 0 &&
        tiers_->item(0, Vary)->checkState() != Qt::Checked) {
        best_->setText(QStringLiteral("Tick at least one tier."));
        return;
    }
    if (chosenLightings().empty()) {
        best_->setText(QStringLiteral("Tick at least one lighting."));
        return;
    }
    judgedUnder_ = s.scoring.lightings;
    const QString shown = QString::fromLatin1(optics::environmentLabel(shownLighting()));
    picture_->setToolTip(QStringLiteral("The best design so far, face up under ") + shown + QStringLiteral("."));
    compare_->setToolTip(QStringLiteral("Left the start, right the chosen result, under ") + shown +
                         QStringLiteral("; below as a viewer sees them, with the head shadow."));
    refractiveIndex_ = s.scoring.refractiveIndex;
    cancel_ = false;
    finished_ = false;
    shownBest_ = -1e300;
    result_.reset();
    results_->clear();
    progress_->setRange(0, s.starts * s.evaluationsPerStart);
    progress_->setValue(0);
    best_->setText(QStringLiteral("Searching..."));
    s.cancel = &cancel_;
    s.progress = [this](const optimise::Progress& p) {
        // On a searching thread: the window takes it on its own.
        QMetaObject::invokeMethod(this, [this, p] { showProgress(p); }, Qt::QueuedConnection);
    };
    setRunning(true);
    const bool retarget = mode_ == Mode::Retarget;
    const double fromIndex = design_.refractiveIndex;
    worker_ = std::thread([this, s, retarget, fromIndex] {
        optimise::OptimiseResult r = retarget ? optimise::retargetDesign(design_, intent_, fromIndex, s)
                                              : optimise::optimiseDesign(design_, intent_, s);
        auto shared = std::make_shared<optimise::OptimiseResult>(std::move(r));
        QMetaObject::invokeMethod(this, [this, shared] { finish(std::move(*shared)); }, Qt::QueuedConnection);
    });
}

void OptimiseDlg::stop() { cancel_ = true; }

optics::Environment OptimiseDlg::shownLighting() const {
    return judgedUnder_.empty() ? optics::Environment::Iso : judgedUnder_.front();
}

void OptimiseDlg::showProgress(const optimise::Progress& p) {
    if (finished_) return;
    progress_->setValue(std::min(p.evaluations, progress_->maximum()));
    if (!p.haveBest || !(p.bestScore > shownBest_)) return;
    shownBest_ = p.bestScore;
    best_->setText(QString::fromStdString(strprintf("Best score so far: %.1f (%d candidates)", p.bestScore,
                                                    p.evaluations)));
    if (!p.bestStone) return;
    optics::FaceUpOptions options;
    options.size = 150;
    options.refractiveIndex = refractiveIndex_;
    const optics::RgbPicture rgb = optics::faceUpPicture(*p.bestStone, options, shownLighting());
    const QImage image(rgb.rgb.data(), rgb.width, rgb.height, rgb.width * 3, QImage::Format_RGB888);
    picture_->setPixmap(QPixmap::fromImage(image.copy()));
}

void OptimiseDlg::finish(optimise::OptimiseResult result) {
    finished_ = true;
    setRunning(false);
    progress_->setValue(progress_->maximum());
    result_ = std::move(result);
    results_->clear();
    if (!result_->error.empty()) {
        best_->setText(QString::fromStdString(result_->error));
        return;
    }
    if (!result_->best) {
        best_->setText(QString::fromStdString(
            strprintf("No candidate met the limits (%d tried).", result_->evaluations)));
        return;
    }
    auto figures = [&](const char* what, const optimise::Evaluation& e) {
        const optics::TiltAverages& l = e.figures.light;
        std::string text = strprintf("%s: score %.1f, ISO %.1f%%, COS %.1f%%, windowing %.1f%%, extinction %.1f%%, "
                                     "contrast %.1f%%, scintillation %.1f%%\n",
                                     what, e.score, l.iso, l.cos, l.windowing, l.extinction, l.contrast,
                                     l.scintillation);
        text += lightingScoresText(judgedUnder_, e.figures.lightingScores);
        for (size_t i = 0; i < e.angles.size() && i < result_->variables.size(); ++i)
            text += strprintf("%s%s %.2f\xC2\xB0", i == 0 ? "    " : ", ",
                              cp1252ToUtf8(tierLabel(design_, intent_, result_->variables[i].tier)).c_str(),
                              e.angles[i]);
        return QString::fromStdString(text);
    };
    if (result_->start.accepted) {
        auto* start = new QListWidgetItem(figures("Start", result_->start));
        start->setFlags(Qt::ItemIsEnabled);
        results_->addItem(start);
    }
    results_->addItem(figures("Best", *result_->best));
    for (size_t i = 0; i < result_->runnersUp.size(); ++i)
        results_->addItem(figures(strprintf("Runner-up %d", int(i + 1)).c_str(), result_->runnersUp[i]));
    results_->setCurrentRow(result_->start.accepted ? 1 : 0);
    std::string bounds = result_->bounds.empty() ? std::string("no limit") : std::string();
    for (size_t i = 0; i < result_->bounds.size(); ++i) bounds += (i ? ", " : "") + cp1252ToUtf8(result_->bounds[i]);
    best_->setText(QString::fromStdString(strprintf("%s after %d candidates: best score %.1f. Bound by: %s.",
                                                    result_->stopped ? "Stopped" : "Done", result_->evaluations,
                                                    result_->best->score, bounds.c_str())));
    apply_->setEnabled(true);
}

int OptimiseDlg::resultCount() const { return results_->count(); }

QString OptimiseDlg::resultText(int row) const {
    return row >= 0 && row < results_->count() ? results_->item(row)->text() : QString();
}

const optimise::Evaluation* OptimiseDlg::chosen(int row) const {
    if (!result_ || !result_->best) return nullptr;
    const int offset = result_->start.accepted ? 1 : 0;
    const int pick = row - offset;
    const optimise::Evaluation* e = nullptr;
    if (pick == 0)
        e = &*result_->best;
    else if (pick > 0 && pick <= int(result_->runnersUp.size()))
        e = &result_->runnersUp[pick - 1];
    return e && e->stone ? e : nullptr;
}

void OptimiseDlg::showCompare(int row) {
    const optimise::Evaluation* e = chosen(row);
    if (!e) return;
    optics::FaceUpOptions options;
    options.size = 110;
    options.refractiveIndex = refractiveIndex_;
    const optics::RgbPicture rgb = optics::comparePictures(design_, *e->stone, options, shownLighting());
    const QImage image(rgb.rgb.data(), rgb.width, rgb.height, rgb.width * 3, QImage::Format_RGB888);
    compare_->setPixmap(QPixmap::fromImage(image.copy()));
}

bool OptimiseDlg::apply(int row) {
    const optimise::Evaluation* pick = chosen(row);
    if (!pick) return false;
    Stone design = *pick->stone;
    design.refractiveIndex = refractiveIndex_;
    applyDesignWithIntent(doc_, design, pick->intent, mode_ == Mode::Optimise ? "Optimise" : "Retarget");
    return true;
}

void runOptimiseCommand(QWidget* parent, CGemDoc& doc, OptimiseDlg::Mode mode) {
    if (!doc.stone()) return;
    OptimiseDlg dialog(doc, mode, parent);
    dialog.exec();
}

}  // namespace brevix
