#pragma once
// The Design Figures pane's "Forgiveness" tab: how the light of the design
// spreads when the machine cuts every tier a little off (the ISO and COS
// spread from the 5th to the 95th percentile beside the design's own
// figures), and how many points of ISO each tier's angle moves a degree, as
// bars. Worked out in the background while the tab is shown, given up by
// the next change.
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "kernel/plane.h"
#include "optics/environment.h"

#include "tolerance/tolerance.h"

class QComboBox;
class QLabel;
class QProgressBar;

namespace brevix {

class CGemDoc;
namespace tolerance {
class ToleranceWorker;
}

class SensitivityBars;

class ForgivenessPage : public QWidget {
    Q_OBJECT
public:
    explicit ForgivenessPage(CGemDoc& doc, QWidget* parent = nullptr);
    ~ForgivenessPage() override;

    // The design changed: what is shown is out of date, and worked out
    // again shortly when the tab is in view.
    void designChanged();
    // The report shown (none yet, or out of date and being worked out).
    const std::optional<tolerance::ToleranceReport>& report() const { return report_; }
    QString summaryText() const;
    // Nothing being worked out or waiting (for tests).
    bool upToDate() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void start();
    void take(uint64_t generation, tolerance::ToleranceReport report);
    void showProgress(uint64_t generation, int done, int total);
    optics::Environment chosenLighting() const;

    CGemDoc& doc_;
    QLabel* summary_ = nullptr;
    QProgressBar* progress_ = nullptr;
    SensitivityBars* bars_ = nullptr;
    QTimer pause_;
    uint64_t generation_ = 0;
    bool stale_ = true;
    std::optional<tolerance::ToleranceReport> report_;
    // What the report was worked out for: a change of the pending facet
    // alone leaves it standing.
    std::vector<Plane> reportPlanes_;
    double reportIndex_ = 0;
    optics::Environment reportLighting_ = optics::Environment::Iso;
    // A room the brightness is judged in as well as ISO and COS.
    QComboBox* lighting_ = nullptr;
    std::unique_ptr<tolerance::ToleranceWorker> worker_;
};

}  // namespace brevix
