#include "app/panes/forgiveness_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/message_box_sink.h"
#include "document/gem_doc.h"
#include "intent/design_intent.h"
#include "optics/light_score.h"
#include "platform/strformat.h"
#include "tolerance/tolerance_worker.h"

namespace brevix {

namespace {

// Long enough for a slider's steps to pass before the work starts.
constexpr int PAUSE_MS = 400;

QString brightness(double value) { return QString::fromStdString(optics::brightnessText(value)); }

}  // namespace

// One bar per tier, from a centre line: left for a tier whose steeper angle
// loses light, right for one that gains it, the most sensitive tier in a
// stronger colour.
class SensitivityBars : public QWidget {
public:
    explicit SensitivityBars(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("SensitivityBars"));
        setMinimumHeight(fontMetrics().height() * 4);
    }
    void show(const std::vector<tolerance::TierSensitivity>& tiers, int mostSensitive) {
        tiers_ = tiers;
        mostSensitive_ = mostSensitive;
        setMinimumHeight(fontMetrics().height() * std::max<int>(4, int(tiers_.size()) + 1));
        update();
    }
    void clear() { show({}, -1); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().base());
        if (tiers_.empty()) return;
        const QFontMetrics fm = fontMetrics();
        const int row = fm.height() + 2;
        const int nameWidth = fm.horizontalAdvance(QStringLiteral("MMMMM")) + 6;
        const int valueWidth = fm.horizontalAdvance(QStringLiteral("-000.00")) + 6;
        const int left = nameWidth, right = width() - valueWidth;
        const int centre = (left + right) / 2;
        const int half = std::max(1, (right - left) / 2 - 2);
        double largest = 0;
        for (const auto& t : tiers_) largest = std::max(largest, std::fabs(t.isoPerDegree.value_or(0)));
        painter.setPen(palette().text().color());
        painter.drawLine(centre, 0, centre, row * int(tiers_.size()));
        for (size_t i = 0; i < tiers_.size(); ++i) {
            const auto& t = tiers_[i];
            const int y = int(i) * row;
            painter.setPen(palette().text().color());
            painter.drawText(QRect(0, y, nameWidth - 4, row), Qt::AlignRight | Qt::AlignVCenter, fromCore(t.name));
            if (!t.isoPerDegree) {
                painter.drawText(QRect(right + 4, y, valueWidth, row), Qt::AlignLeft | Qt::AlignVCenter,
                                 QStringLiteral("-"));
                continue;
            }
            const double v = *t.isoPerDegree;
            const int length = largest > 0 ? int(std::lround(std::fabs(v) / largest * half)) : 0;
            const QColor colour = int(i) == mostSensitive_ ? QColor(200, 60, 30) : QColor(90, 130, 200);
            const QRect bar = v < 0 ? QRect(centre - length, y + 2, length, row - 4) : QRect(centre, y + 2, length, row - 4);
            painter.fillRect(bar, colour);
            painter.drawText(QRect(right + 4, y, valueWidth, row), Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromStdString(strprintf("%.2f", v)));
        }
    }

private:
    std::vector<tolerance::TierSensitivity> tiers_;
    int mostSensitive_ = -1;
};

ForgivenessPage::ForgivenessPage(CGemDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("ForgivenessPage"));
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("ForgivenessSummary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summary_);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setTextVisible(true);
    progress_->setFormat(QStringLiteral("%p%"));
    layout->addWidget(progress_);
    // The spread of the light in a room as well, as tolerance --lighting gives it.
    auto* lightingRow = new QHBoxLayout;
    lighting_ = new QComboBox(this);
    lighting_->setObjectName(QStringLiteral("ForgivenessLighting"));
    auto key = [](optics::Environment e) { return QString::fromLatin1(optics::environmentKey(e)); };
    lighting_->addItem(QStringLiteral("ISO and COS only"), key(optics::Environment::Iso));
    for (optics::Environment e : optics::ALL_ENVIRONMENTS)
        if (optics::hasScene(e)) lighting_->addItem(QString::fromLatin1(optics::environmentLabel(e)), key(e));
    auto* lightingLabel = new QLabel(QStringLiteral("Also &under:"), this);
    lightingLabel->setBuddy(lighting_);
    lightingRow->addWidget(lightingLabel);
    lightingRow->addWidget(lighting_, 1);
    layout->addLayout(lightingRow);
    connect(lighting_, &QComboBox::currentIndexChanged, this, [this] { designChanged(); });
    auto* caption = new QLabel(QStringLiteral("ISO points per degree of each tier's angle:"), this);
    caption->setWordWrap(true);
    layout->addWidget(caption);
    bars_ = new SensitivityBars(this);
    layout->addWidget(bars_, 1);
    summary_->setText(QStringLiteral("Worked out when this tab is shown."));

    pause_.setSingleShot(true);
    pause_.setInterval(PAUSE_MS);
    connect(&pause_, &QTimer::timeout, this, [this] { start(); });
    // The worker's thread hands over to the window's.
    worker_ = std::make_unique<tolerance::ToleranceWorker>(
        [this](uint64_t generation, tolerance::ToleranceReport report) {
            QMetaObject::invokeMethod(
                this, [this, generation, report = std::move(report)]() mutable { take(generation, std::move(report)); },
                Qt::QueuedConnection);
        },
        [this](uint64_t generation, int done, int total) {
            QMetaObject::invokeMethod(
                this, [this, generation, done, total] { showProgress(generation, done, total); },
                Qt::QueuedConnection);
        });
}

ForgivenessPage::~ForgivenessPage() { worker_.reset(); }

void ForgivenessPage::designChanged() {
    stale_ = true;
    ++generation_;
    worker_->cancel();
    if (isVisible()) pause_.start();
}

void ForgivenessPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) pause_.start();
}

void ForgivenessPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Out of sight, the cores are the light pane's and the user's.
    pause_.stop();
    if (!worker_->idle()) {
        worker_->cancel();
        stale_ = true;
    }
}

bool ForgivenessPage::upToDate() const { return !stale_ && !pause_.isActive() && worker_->idle(); }

namespace {

std::vector<Plane> planesOf(const Stone& stone) {
    std::vector<Plane> planes;
    planes.reserve(size_t(stone.nFacet));
    for (int32_t i = 0; i < stone.nFacet; ++i) planes.push_back(stone.facets[i].plane());
    return planes;
}

}  // namespace

void ForgivenessPage::start() {
    const Stone* design = doc_.stone();
    if (design && report_ && design->refractiveIndex == reportIndex_ && planesOf(*design) == reportPlanes_ &&
        chosenLighting() == reportLighting_) {
        stale_ = false;
        summary_->setText(summaryText());
        progress_->setRange(0, 100);
        progress_->setValue(100);
        return;
    }
    report_.reset();
    bars_->clear();
    if (!design || design->nFacet - design->nRough == 0) {
        stale_ = false;
        summary_->setText(QStringLiteral("No design to measure."));
        progress_->setRange(0, 1);
        progress_->setValue(0);
        return;
    }
    tolerance::ToleranceRequest request;
    request.design = std::make_shared<const Stone>(*design);
    request.intent = doc_.model().intent();
    // The design's own index, as brevix-cli tolerance takes it.
    request.options.light.refractiveIndex =
        optics::chooseLight(std::nullopt, std::nullopt, design->refractiveIndex).refractiveIndex;
    reportLighting_ = chosenLighting();
    if (optics::hasScene(reportLighting_)) request.options.lightings = {reportLighting_};
    request.generation = generation_;
    reportPlanes_ = planesOf(*design);
    reportIndex_ = design->refractiveIndex;
    stale_ = false;
    summary_->setText(QStringLiteral("Cutting %1 copies with machine error...").arg(request.options.samples));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    worker_->request(std::move(request));
}

void ForgivenessPage::showProgress(uint64_t generation, int done, int total) {
    if (generation != generation_ || total <= 0) return;
    progress_->setValue(int(100.0 * done / total));
}

void ForgivenessPage::take(uint64_t generation, tolerance::ToleranceReport report) {
    if (generation != generation_) return;
    progress_->setValue(100);
    report_ = std::move(report);
    summary_->setText(summaryText());
    bars_->show(report_->tiers, report_->mostSensitive);
}

optics::Environment ForgivenessPage::chosenLighting() const {
    return optics::environmentFromKey(lighting_->currentData().toString().toStdString())
        .value_or(optics::Environment::Iso);
}

QString ForgivenessPage::summaryText() const {
    if (!report_) return summary_->text();
    const tolerance::ToleranceReport& r = *report_;
    if (!r.error.empty()) return fromCore(r.error);
    QString text = QStringLiteral("ISO %1%, with machine error %2% to %3%\nCOS %4%, with machine error %5% to %6%")
                       .arg(brightness(r.nominalIso), brightness(r.iso.p5), brightness(r.iso.p95),
                            brightness(r.nominalCos), brightness(r.cos.p5), brightness(r.cos.p95));
    if (optics::hasScene(reportLighting_))
        text += QStringLiteral("\n%1 %2%, with machine error %3% to %4%")
                    .arg(QString::fromLatin1(optics::environmentLabel(reportLighting_)), brightness(r.nominalJudged),
                         brightness(r.judged.p5), brightness(r.judged.p95));
    text += QStringLiteral("\n%1 copies, each tier within 0.1\u00B0 of angle and index and 0.001 W of depth")
                .arg(r.samples);
    if (r.failedSamples > 0) text += QStringLiteral(" (%1 could not be cut)").arg(r.failedSamples);
    if (r.mostSensitive >= 0)
        text += QStringLiteral("\nMost sensitive: %1").arg(fromCore(r.tiers[size_t(r.mostSensitive)].name));
    return text;
}

}  // namespace brevix
