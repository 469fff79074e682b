#pragma once
// View > Design Figures: a dockable pane with the design's proportions,
// girdle, volume, facet count and real size, the warnings a cutter wants
// before the stone is on the lap, the same figures for the pending facet of
// the Cut Facet form as if it were cut, and two ways of changing a tier
// that follow the change live: dragging its angle or depth (re-cut by
// intent at every step, one Undo for the whole drag) and goals (a table
// width, a girdle thickness at the main tips) reached by a tier's depth.
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "live/cut_preview.h"
#include "live/design_warnings.h"

class QAction;
class QComboBox;
class QDockWidget;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QMainWindow;
class QPushButton;
class QSlider;
class QTreeWidget;

namespace brevix {

class DesignSignals;
class ForgivenessPage;

class CGemDoc;
struct LiveDesign;

class DesignFiguresPane : public QWidget {
    Q_OBJECT
public:
    explicit DesignFiguresPane(CGemDoc& doc, QWidget* parent = nullptr);

    // The design or the pending facet changed: figures, warnings, tiers
    // and the preview as the document worked them out.
    void designChanged();

    // A row of the figures: the design's value (column 1) or the value after
    // the pending cut (column 2); empty when the row is not shown.
    QString figureText(const QString& label, int column = 1) const;
    // The width the pane needs to show its usual figures whole, the
    // "After cut" column included.
    int readableWidth() const;
    QStringList warningTexts() const;
    bool previewShown() const { return previewShown_; }
    const std::vector<DesignWarning>& warnings() const { return warnings_; }

    QComboBox* tierBox() const { return tier_; }
    QDoubleSpinBox* angleBox() const { return angle_; }
    QDoubleSpinBox* depthBox() const { return depth_; }
    QSlider* angleSlider() const { return angleSlider_; }
    QDoubleSpinBox* tableGoalBox() const { return tableGoal_; }
    QPushButton* tableGoalButton() const { return tableGoalButton_; }
    QDoubleSpinBox* girdleGoalBox() const { return girdleGoal_; }
    QComboBox* girdleGoalSide() const { return girdleSide_; }
    QPushButton* girdleGoalButton() const { return girdleGoalButton_; }
    // The tier of the stone's facet becomes the one the controls change.
    void selectTierOfFacet(int32_t facet);
    ForgivenessPage* forgivenessPage() const { return forgiveness_; }
    // Ends a drag now rather than after the pause that ends it.
    void finishDrag();

    // The pending facets as they would be cut (null: none), for the views.
    std::function<void(const CutPreview* preview, const std::vector<Vec3>& points)> onPreview;
    // The warnings of the design, for the cut list.
    std::function<void(const std::vector<DesignWarning>&)> onWarnings;

    QSize sizeHint() const override { return {340, 560}; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void showFigures(const LiveDesign& live);
    void showWarnings(const LiveDesign& live);
    void fillTiers();
    void showTierValues();
    int32_t selectedTier() const;
    int32_t facetOfTier(int32_t tier) const;
    void angleStep(double shown);
    void depthStep(double share);
    bool startDrag();
    void reachGoal(bool table);

    CGemDoc& doc_;
    QTreeWidget* figures_ = nullptr;
    QListWidget* warningList_ = nullptr;
    QComboBox* tier_ = nullptr;
    QDoubleSpinBox* angle_ = nullptr;
    QDoubleSpinBox* depth_ = nullptr;
    QSlider* angleSlider_ = nullptr;
    QLabel* dragNote_ = nullptr;
    QDoubleSpinBox* tableGoal_ = nullptr;
    QPushButton* tableGoalButton_ = nullptr;
    QDoubleSpinBox* girdleGoal_ = nullptr;
    QComboBox* girdleSide_ = nullptr;
    QPushButton* girdleGoalButton_ = nullptr;
    ForgivenessPage* forgiveness_ = nullptr;
    QTimer dragPause_;
    double dragWidth_ = 0;        // W of the stone when the drag began
    int sliderLast_ = 0;          // the slider's value last followed
    bool stale_ = true;
    bool settingControls_ = false;
    std::vector<DesignWarning> warnings_;
    bool previewShown_ = false;
};

// The pane in a dock of the frame, as it was left last time (visible the
// first time), toggled by `toggle` and following the document's updates.
QDockWidget* createDesignFiguresDock(QMainWindow& frame, CGemDoc& doc, const DesignSignals& changes, QAction* toggle);

}  // namespace brevix
