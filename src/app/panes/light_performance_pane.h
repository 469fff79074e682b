#pragma once
// View > Light Performance: a dockable pane beside the design with its
// ray-traced face-up picture in the chosen material and lighting, the ISO
// and COS brightness (and a room's own figures under a room), and a graph
// of brightness as the stone tilts. It follows
// every change of the design; the pictures are made on a worker thread.
#include <QImage>
#include <QWidget>
#include <memory>

#include "app/panes/light_pane_settings.h"
#include "app/panes/light_render_worker.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QDoubleSpinBox;
class QLabel;
class QMainWindow;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace brevix {

class CGemDoc;
class DesignSignals;

class LightPerformancePane : public QWidget {
    Q_OBJECT
public:
    LightPerformancePane(CGemDoc& doc, const LightPaneSettings& settings, QWidget* parent = nullptr);
    ~LightPerformancePane() override;

    // Asks for new pictures of the design as it is now.
    void designChanged();

    const LightPaneSettings& settings() const { return settings_; }
    const QImage& image() const { return image_; }
    QString isoText() const;
    QString cosText() const;
    // "Windowing 3.1%, extinction 20.4%, contrast 35.0%" (and fire with dispersion).
    QString metricsText() const;
    // The room's figures (light_figures_text.h); empty under ISO and COS.
    QString sceneText() const;
    // The tilt graph's points: tilt, ISO, COS.
    QList<QPointF> isoPoints() const;
    // The room's curve of the graph; empty under ISO and COS.
    QList<QPointF> scenePoints() const;
    // True once the worker has delivered everything asked of it so far.
    bool upToDate() const;
    // How many pictures of the design have been asked of the worker.
    int renderRequests() const { return renderRequests_; }

    void copyImage();
    void saveImage();

    QSize sizeHint() const override { return {360, 640}; }

Q_SIGNALS:
    void settingsChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void readControls();
    void accept(LightResult result);
    void showImage();
    int fineSize() const;

    CGemDoc& doc_;
    LightPaneSettings settings_;
    QLabel* picture_ = nullptr;
    QLabel* isoLabel_ = nullptr;
    QLabel* cosLabel_ = nullptr;
    QLabel* meanLabel_ = nullptr;
    QLabel* metricsLabel_ = nullptr;
    QLabel* sceneLabel_ = nullptr;
    QComboBox* lighting_ = nullptr;
    QComboBox* material_ = nullptr;
    QDoubleSpinBox* tilt_ = nullptr;
    QDoubleSpinBox* cone_ = nullptr;
    QDoubleSpinBox* headShadow_ = nullptr;
    QDoubleSpinBox* tiltStep_ = nullptr;
    QCheckBox* dispersion_ = nullptr;
    QChartView* chart_ = nullptr;
    QLineSeries* isoSeries_ = nullptr;
    QLineSeries* cosSeries_ = nullptr;
    QLineSeries* sceneSeries_ = nullptr;
    QValueAxis* yAxis_ = nullptr;
    QImage image_;
    double iso_ = -1, cos_ = -1;
    optics::LightMetrics metrics_;
    std::optional<double> fire_;
    // Under a room: its figures, of the lighting they were made under.
    std::optional<optics::SceneFigures> scene_;
    std::optional<double> sceneScintillation_;
    optics::Environment sceneLighting_ = optics::Environment::Iso;
    std::string tiltMetrics_;  // a second line once the tilt sweep is in
    uint64_t generation_ = 0;
    uint64_t delivered_ = 0;  // generation whose sweep has arrived
    bool stale_ = true;       // the design changed while the pane was hidden
    int renderRequests_ = 0;
    std::unique_ptr<LightRenderWorker> worker_;
};

// Creates the pane in a dock of `frame`, placed and shown as the settings
// remember, toggled by `toggle` (View > Light Performance), and following
// every change of `doc` that `changes` announces.
QDockWidget* createLightPerformanceDock(QMainWindow& frame, CGemDoc& doc, const DesignSignals& changes,
                                       QAction* toggle);

}  // namespace brevix
