#include "app/panes/light_performance_pane.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <cmath>
#include <iterator>
#include <QDockWidget>
#include <QFile>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include "app/design_signals.h"
#include "app/panes/light_figures_text.h"
#include "app/panes/remembered_dock.h"
#include "document/gem_doc.h"
#include "files/export_files.h"
#include "files/file_messages.h"
#include "kernel/stone.h"
#include "optics/light_score.h"
#include "optics/materials.h"
#include "platform/diagnostics.h"
#include "platform/messages.h"
#include "platform/strformat.h"

namespace brevix {

namespace {

QDoubleSpinBox* angleBox(double low, double high, double step, double value, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(low, high);
    box->setDecimals(1);
    box->setSingleStep(step);
    box->setSuffix(QStringLiteral("\u00b0"));
    box->setValue(value);
    box->setKeyboardTracking(false);  // a typed number counts when it is complete
    return box;
}

// What each lighting is, for the choice's tooltips.
const char* lightingHint(optics::Environment lighting) {
    switch (lighting) {
    case optics::Environment::Iso: return "Even light from every direction of the lighting cone";
    case optics::Environment::Cos: return "Light from the lighting cone, the more the higher it comes from";
    case optics::Environment::Aset:
        return "Where the light comes from: red from high above, green from low, blue from your own "
               "shadow, black where the stone leaks";
    case optics::Environment::Office: return "Four large lamps and a window in a dark room";
    case optics::Environment::Spot: return "Sixty small spot lights, as a chandelier gives: where a stone sparkles";
    case optics::Environment::Dome: return "Daylight under an overcast sky, the horizon darker";
    }
    return "";
}

int lightingIndex(optics::Environment lighting) {
    for (int i = 0; i < int(std::size(optics::ALL_ENVIRONMENTS)); ++i)
        if (optics::ALL_ENVIRONMENTS[i] == lighting) return i;
    return 0;
}

}  // namespace

LightPerformancePane::LightPerformancePane(CGemDoc& doc, const LightPaneSettings& settings, QWidget* parent)
    : QWidget(parent), doc_(doc), settings_(settings) {
    setObjectName(QStringLiteral("LightPerformancePane"));
    buildControls();
    // Results come on the worker's thread; the pane takes them on its own.
    // Queued calls to a pane that is gone are dropped by Qt.
    worker_ = std::make_unique<LightRenderWorker>([this](LightResult result) {
        QMetaObject::invokeMethod(
            this, [this, r = std::move(result)]() mutable { accept(std::move(r)); }, Qt::QueuedConnection);
    });
}

LightPerformancePane::~LightPerformancePane() { worker_.reset(); }

void LightPerformancePane::buildControls() {
    auto* layout = new QVBoxLayout(this);
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("lightPicture"));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setMinimumSize(120, 120);
    picture_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(picture_, 3);

    auto* figures = new QHBoxLayout;
    isoLabel_ = new QLabel(this);
    isoLabel_->setObjectName(QStringLiteral("isoBrightness"));
    cosLabel_ = new QLabel(this);
    cosLabel_->setObjectName(QStringLiteral("cosBrightness"));
    figures->addWidget(isoLabel_);
    figures->addWidget(cosLabel_);
    layout->addLayout(figures);
    metricsLabel_ = new QLabel(this);
    metricsLabel_->setObjectName(QStringLiteral("lightMetrics"));
    // Wrapped, so that the figures never widen the pane.
    metricsLabel_->setWordWrap(true);
    metricsLabel_->setToolTip(QStringLiteral(
        "Windowing: the area through which you see out of the pavilion. Extinction: the area returning less "
        "than a quarter of the lit value. Contrast: the share of a coarse grid's cells that differ clearly "
        "from a neighbour, seen with the viewer's head shadow. Scintillation: the share of the cells that "
        "switch between neighbouring tilts from -10 to 10 degrees."));
    layout->addWidget(metricsLabel_);
    sceneLabel_ = new QLabel(this);
    sceneLabel_->setObjectName(QStringLiteral("sceneFigures"));
    sceneLabel_->setWordWrap(true);
    sceneLabel_->setToolTip(QStringLiteral(
        "The figures under the chosen room. Brightness: the light the stone returns from the room (under ASET "
        "red and green). Contrast and scintillation are judged with the viewer's head shadow. ASET: the share "
        "of the light entering the stone that returns from high above (red), from low (green), from the "
        "viewer (blue), or is lost, mostly through the pavilion (black)."));
    layout->addWidget(sceneLabel_);

    // Two columns of settings, so the picture keeps most of the pane. The
    // pane lives in the main window, whose menu bar owns Alt+F, E, S, V, P,
    // R and H: the fields' mnemonics keep clear of those letters.
    auto* form = new QGridLayout;
    auto addField = [this, form](int row, int column, const QString& label, QWidget* field) {
        auto* text = new QLabel(label, this);
        text->setBuddy(field);
        form->addWidget(text, row, column * 2);
        form->addWidget(field, row, column * 2 + 1);
    };
    lighting_ = new QComboBox(this);
    lighting_->setObjectName(QStringLiteral("lighting"));
    for (optics::Environment e : optics::ALL_ENVIRONMENTS) {
        lighting_->addItem(QString::fromLatin1(optics::environmentLabel(e)),
                           QString::fromLatin1(optics::environmentKey(e)));
        lighting_->setItemData(lighting_->count() - 1, QString::fromLatin1(lightingHint(e)), Qt::ToolTipRole);
    }
    lighting_->setCurrentIndex(lightingIndex(settings_.lighting));
    addField(0, 0, QStringLiteral("&Lighting:"), lighting_);
    material_ = new QComboBox(this);
    material_->addItem(QStringLiteral("The design's index"), QString());
    for (const optics::Material& m : optics::materials())
        material_->addItem(QString::fromStdString(strprintf("%.2f  %s", m.refractiveIndex, m.name.c_str())),
                           QString::fromStdString(m.name));
    material_->setCurrentIndex(std::max(0, material_->findData(QString::fromStdString(settings_.material))));
    addField(0, 1, QStringLiteral("M&aterial:"), material_);
    tilt_ = angleBox(-45, 45, 1, settings_.tiltDegrees, this);
    addField(1, 0, QStringLiteral("&Tilt:"), tilt_);
    cone_ = angleBox(1, 90, 5, settings_.coneDegrees, this);
    addField(1, 1, QStringLiteral("Lighting c&one:"), cone_);
    headShadow_ = angleBox(0, 89, 1, settings_.headShadowDegrees, this);
    headShadow_->setSpecialValueText(QStringLiteral("None"));
    addField(2, 0, QStringLiteral("Head shado&w:"), headShadow_);
    tiltStep_ = angleBox(0.5, 30, 0.5, settings_.tiltStep, this);
    addField(2, 1, QStringLiteral("&Graph step:"), tiltStep_);
    dispersion_ = new QCheckBox(QStringLiteral("&Dispersion (colours from the C, D and F lines)"), this);
    dispersion_->setChecked(settings_.dispersion);
    form->addWidget(dispersion_, 3, 0, 1, 4);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    layout->addLayout(form);

    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->setMargins(QMargins(2, 2, 2, 2));
    isoSeries_ = new QLineSeries(chart);
    isoSeries_->setName(QStringLiteral("ISO"));
    cosSeries_ = new QLineSeries(chart);
    cosSeries_->setName(QStringLiteral("COS"));
    sceneSeries_ = new QLineSeries(chart);
    sceneSeries_->setVisible(false);  // a room's curve, under a room only
    chart->addSeries(isoSeries_);
    chart->addSeries(cosSeries_);
    chart->addSeries(sceneSeries_);
    auto* xAxis = new QValueAxis(chart);
    xAxis->setRange(-30, 30);
    xAxis->setTickCount(7);
    xAxis->setLabelFormat(QStringLiteral("%d"));
    xAxis->setTitleText(QStringLiteral("Tilt (degrees)"));
    yAxis_ = new QValueAxis(chart);
    yAxis_->setRange(0, 100);
    yAxis_->setTickCount(3);
    yAxis_->setLabelFormat(QStringLiteral("%d"));
    yAxis_->setTitleText(QStringLiteral("%"));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis_, Qt::AlignLeft);
    for (QLineSeries* s : {isoSeries_, cosSeries_, sceneSeries_}) {
        s->attachAxis(xAxis);
        s->attachAxis(yAxis_);
    }
    chart_ = new QChartView(chart, this);
    chart_->setObjectName(QStringLiteral("tiltGraph"));
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumHeight(180);
    layout->addWidget(chart_, 2);
    meanLabel_ = new QLabel(this);
    meanLabel_->setObjectName(QStringLiteral("tiltMean"));
    layout->addWidget(meanLabel_);

    auto* buttons = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("&Copy"), this);
    auto* save = new QPushButton(QStringLiteral("Save &Image..."), this);
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(copy, &QPushButton::clicked, this, &LightPerformancePane::copyImage);
    connect(save, &QPushButton::clicked, this, &LightPerformancePane::saveImage);

    auto changed = [this] {
        readControls();
        Q_EMIT settingsChanged();
        designChanged();
    };
    connect(lighting_, &QComboBox::currentIndexChanged, this, changed);
    connect(material_, &QComboBox::currentIndexChanged, this, changed);
    for (QDoubleSpinBox* box : {tilt_, cone_, headShadow_, tiltStep_})
        connect(box, &QDoubleSpinBox::valueChanged, this, changed);
    connect(dispersion_, &QCheckBox::toggled, this, changed);
}

void LightPerformancePane::readControls() {
    settings_.lighting = optics::ALL_ENVIRONMENTS[std::clamp(lighting_->currentIndex(), 0, 5)];
    settings_.material = material_->currentData().toString().toStdString();
    settings_.tiltDegrees = tilt_->value();
    settings_.coneDegrees = cone_->value();
    settings_.headShadowDegrees = headShadow_->value();
    settings_.tiltStep = tiltStep_->value();
    settings_.dispersion = dispersion_->isChecked();
}

int LightPerformancePane::fineSize() const {
    const qreal ratio = picture_->devicePixelRatioF();
    const int side = std::min(picture_->width(), picture_->height());
    return std::clamp(static_cast<int>(side * ratio), 64, 1024);
}

void LightPerformancePane::designChanged() {
    if (!isVisible()) {
        stale_ = true;  // a hidden pane costs nothing: showing it asks again
        return;
    }
    stale_ = false;
    const Stone* stone = doc_.stone();
    ++generation_;
    if (!stone) {
        image_ = QImage();
        iso_ = cos_ = -1;
        scene_.reset();
        sceneScintillation_.reset();
        isoSeries_->clear();
        cosSeries_->clear();
        sceneSeries_->clear();
        delivered_ = generation_;
        showImage();
        return;
    }
    LightRequest request;
    request.stone = std::make_shared<const Stone>(*stone);
    const optics::LightChoice choice =
        optics::chooseLight(optics::findMaterial(settings_.material), std::nullopt, stone->refractiveIndex);
    request.options.refractiveIndex = choice.refractiveIndex;
    request.options.size = fineSize();
    request.options.tiltDegrees = settings_.tiltDegrees;
    request.options.lighting.coneDegrees = settings_.coneDegrees;
    request.options.lighting.headShadowDegrees = settings_.headShadowDegrees;
    request.options.lighting.environment = settings_.lighting;
    request.dispersion = settings_.dispersion;
    request.dispersionValue = choice.material.dispersion;
    request.sweep = {-30, 30, settings_.tiltStep};
    request.generation = generation_;
    ++renderRequests_;
    worker_->request(std::move(request));
}

bool LightPerformancePane::upToDate() const { return delivered_ == generation_ && worker_->idle(); }

void LightPerformancePane::accept(LightResult result) {
    if (result.generation != generation_) return;  // an older design's
    if (result.stage == LightResult::Sweep) {
        QList<QPointF> iso, cos, room;
        for (const optics::TiltBrightness& p : result.sweep.points) {
            iso << QPointF(p.tiltDegrees, p.iso);
            cos << QPointF(p.tiltDegrees, p.cos);
            if (scene_) room << QPointF(p.tiltDegrees, p.scene);
        }
        isoSeries_->replace(iso);
        cosSeries_->replace(cos);
        sceneSeries_->replace(room);
        sceneSeries_->setVisible(scene_.has_value());
        if (scene_) sceneSeries_->setName(QString::fromLatin1(optics::environmentLabel(sceneLighting_)));
        // The brightness scale spans the curves in whole tens, so small
        // differences between tilts show.
        double low = 100, high = 0;
        for (const QPointF& q : iso + cos + room) {
            low = std::min(low, q.y());
            high = std::max(high, q.y());
        }
        if (low <= high) {
            low = std::max(0.0, std::floor(low / 10) * 10);
            high = std::min(100.0, std::max(low + 10, std::ceil(high / 10) * 10));
            yAxis_->setRange(low, high);
            // At most six numbers up the axis, at whole tens: more do not fit
            // a short graph, and the chart then shows "..." for every one.
            const int tens = int(std::lround((high - low) / 10));
            int gaps = 1;
            for (int d = 1; d <= 5; ++d)
                if (tens % d == 0) gaps = d;
            yAxis_->setTickCount(gaps + 1);
        }
        meanLabel_->setText(QString::fromStdString(
            tiltMeanText(scene_ ? sceneLighting_ : optics::Environment::Iso, result.sweep)));
        const optics::TiltAverages a = optics::tiltAverages(result.sweep.points);
        tiltMetrics_ = strprintf("\nOver the tilts: windowing %.1f%%, extinction %.1f%%, contrast %.1f%%; "
                                 "scintillation %.1f%%",
                                 a.windowing, a.extinction, a.contrast, result.scintillation);
        metricsLabel_->setText(metricsText());
        if (scene_) sceneScintillation_ = result.sceneScintillation;
        sceneLabel_->setText(sceneText());
        delivered_ = result.generation;
        return;
    }
    const optics::RgbPicture& p = result.picture;
    image_ = QImage(p.rgb.data(), p.width, p.height, p.width * 3, QImage::Format_RGB888).copy();
    iso_ = result.isoBrightness;
    cos_ = result.cosBrightness;
    metrics_ = result.metrics;
    tiltMetrics_.clear();  // the sweep of this design comes after its picture
    fire_ = result.fire;
    scene_ = result.scene;
    sceneScintillation_.reset();  // measured by the sweep
    sceneLighting_ = settings_.lighting;
    showImage();
}

QString LightPerformancePane::isoText() const {
    return iso_ < 0 ? QString() : QString::fromStdString(strprintf("ISO brightness: %.1f%%", iso_));
}
QString LightPerformancePane::cosText() const {
    return cos_ < 0 ? QString() : QString::fromStdString(strprintf("COS brightness: %.1f%%", cos_));
}

QString LightPerformancePane::metricsText() const {
    if (iso_ < 0) return QString();
    std::string text = strprintf("Windowing %.1f%%, extinction %.1f%%, contrast %.1f%%", metrics_.windowing,
                                 metrics_.extinction, metrics_.contrast);
    if (fire_) text += strprintf(", fire %.1f%%", *fire_);
    return QString::fromStdString(text + tiltMetrics_);
}

QString LightPerformancePane::sceneText() const {
    if (iso_ < 0 || !scene_) return QString();
    return QString::fromStdString(sceneFiguresText(sceneLighting_, *scene_, sceneScintillation_));
}

QList<QPointF> LightPerformancePane::isoPoints() const { return isoSeries_->points(); }
QList<QPointF> LightPerformancePane::scenePoints() const {
    return scene_ ? sceneSeries_->points() : QList<QPointF>();
}

void LightPerformancePane::showImage() {
    isoLabel_->setText(isoText());
    cosLabel_->setText(cosText());
    metricsLabel_->setText(metricsText());
    sceneLabel_->setText(sceneText());
    sceneLabel_->setVisible(!sceneLabel_->text().isEmpty());
    if (image_.isNull()) {
        picture_->clear();
        return;
    }
    const int side = std::min(picture_->width(), picture_->height());
    picture_->setPixmap(QPixmap::fromImage(
        image_.scaled(side, side, Qt::KeepAspectRatio, image_.width() < side ? Qt::FastTransformation
                                                                             : Qt::SmoothTransformation)));
}

void LightPerformancePane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) designChanged();
}

void LightPerformancePane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    showImage();
    // A picture much smaller than the pane now shows is made again.
    if (!image_.isNull() && fineSize() > image_.width() * 5 / 4) designChanged();
}

void LightPerformancePane::copyImage() {
    if (!image_.isNull()) QApplication::clipboard()->setImage(image_);
}

void LightPerformancePane::saveImage() {
    if (image_.isNull()) return;
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Image"), QString(),
                                                      QStringLiteral("PNG images (*.png)"));
    if (path.isEmpty()) return;
    // Encoded first, then written as every export is: never over a device or
    // a pipe, never half a file in place of the last one, and a failure told
    // with the system's reason.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image_.save(&buffer, "PNG")) {
        QMessageBox::warning(this, QStringLiteral("Brevix"),
                             QStringLiteral("Not enough memory for the picture %1.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    Diagnostics notes;
    writeExportFile(QFile::encodeName(path).toStdString(), png.toStdString(), filemsg::CANNOT_OPEN_TO_WRITE, true,
                    notes);
    showAll(notes, messageSink());
}

QDockWidget* createLightPerformanceDock(QMainWindow& frame, CGemDoc& doc, const DesignSignals& changes,
                                       QAction* toggle) {
    const LightPaneSettings stored = loadLightPaneSettings();
    auto* dock = new QDockWidget(QStringLiteral("Light Performance"), &frame);
    dock->setObjectName(QStringLiteral("LightPerformanceDock"));
    auto* pane = new LightPerformancePane(doc, stored, dock);
    dock->setWidget(pane);
    auto remember = placeRememberedDock(frame, dock, {stored.visible, stored.floating, stored.dockArea}, 360, toggle,
                                        [pane](const DockPlace& place) {
                                            LightPaneSettings s = pane->settings();
                                            s.visible = place.visible;
                                            s.floating = place.floating;
                                            s.dockArea = place.dockArea;
                                            saveLightPaneSettings(s);
                                        });
    QObject::connect(pane, &LightPerformancePane::settingsChanged, dock, remember);

    QObject::connect(&changes, &DesignSignals::designChanged, pane, [pane] { pane->designChanged(); });
    return dock;
}

}  // namespace brevix
