#pragma once
// Stone > Optimize... and Stone > Retarget to Material...: the optimiser at
// work in a dialog. The cutter ticks the tiers that may change and their
// ranges (Optimize) or picks the material (Retarget), sets the goal's
// weights and the limits, and starts; a progress bar, the best score so
// far and a picture of the best design follow the search, which runs on
// threads of its own and stops at Stop. At the end the best design and its
// runners-up are listed with their figures; Apply makes the chosen one the
// design, undone by one Undo.
#include <QDialog>
#include <QImage>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "intent/intent.h"
#include "kernel/stone.h"
#include "optimise/optimiser.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace brevix {

class CGemDoc;

class OptimiseDlg : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Optimise, Retarget };
    OptimiseDlg(CGemDoc& doc, Mode mode, QWidget* parent = nullptr);
    ~OptimiseDlg() override;

    // For tests: start, wait, and what is listed.
    void start();
    void stop();
    bool running() const { return worker_.joinable() && !finished_; }
    int resultCount() const;
    QString resultText(int row) const;
    // The chosen result of list row `row`; none for the start or no row.
    const optimise::Evaluation* chosen(int row) const;
    // Makes result `row` the design; false when there is none.
    bool apply(int row);

protected:
    void reject() override;

private:
public:
    // The settings the search would start with, built as the command line
    // builds them (optimise/problem.h).
    optimise::OptimiseSettings settings() const;

private:
    void applyGoal(int index);
    void showCompare(int row);
    void showProgress(const optimise::Progress& progress);
    void finish(optimise::OptimiseResult result);
    void setRunning(bool running);
    // The lightings ticked (none when the cutter unticked them all).
    std::vector<optics::Environment> chosenLightings() const;

    CGemDoc& doc_;
    Mode mode_;
    Stone design_;
    DesignIntent intent_;
    QTableWidget* tiers_ = nullptr;
    QComboBox* material_ = nullptr;
    QDoubleSpinBox* weightIso_ = nullptr;
    QDoubleSpinBox* weightCos_ = nullptr;
    QDoubleSpinBox* weightWindow_ = nullptr;
    QDoubleSpinBox* weightExtinction_ = nullptr;
    QDoubleSpinBox* weightContrast_ = nullptr;
    QDoubleSpinBox* weightScintillation_ = nullptr;
    QDoubleSpinBox* leastCrown_ = nullptr;
    QDoubleSpinBox* proportionSpan_ = nullptr;
    QComboBox* goal_ = nullptr;
    QDoubleSpinBox* criticalMargin_ = nullptr;
    QDoubleSpinBox* minFacetShare_ = nullptr;
    QDoubleSpinBox* orderGap_ = nullptr;
    QDoubleSpinBox* minGirdleShare_ = nullptr;
    QCheckBox* noNewWarnings_ = nullptr;
    QCheckBox* robust_ = nullptr;
    std::vector<QCheckBox*> lightings_;  // one a lighting, in optics::ALL_ENVIRONMENTS' order
    QCheckBox* worstLighting_ = nullptr;
    QDoubleSpinBox* seconds_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* apply_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* best_ = nullptr;
    QLabel* picture_ = nullptr;
    QLabel* compare_ = nullptr;  // the start and the chosen result side by side
    QListWidget* results_ = nullptr;

    std::atomic<bool> cancel_{false};
    std::thread worker_;
    bool finished_ = false;
    double shownBest_ = -1e300;
    double refractiveIndex_ = 1.54;
    std::vector<optics::Environment> judgedUnder_;  // of the search listed
    // The pictures show the first lighting the search is judged under: a
    // design tuned for ASET is watched in ASET's colours, not in ISO light.
    optics::Environment shownLighting() const;
    std::optional<optimise::OptimiseResult> result_;
};

void runOptimiseCommand(QWidget* parent, CGemDoc& doc, OptimiseDlg::Mode mode);

}  // namespace brevix
