#include "app/panes/figures_pane.h"

#include "app/design_signals.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/message_box_sink.h"
#include "app/panes/figures_pane_settings.h"
#include "app/panes/forgiveness_page.h"
#include "app/panes/remembered_dock.h"
#include "design/measures.h"
#include "document/gem_doc.h"
#include "intent/design_intent.h"
#include "intent/intent_words.h"
#include "live/design_figures.h"
#include "live/live_design.h"
#include "live/figure_rows.h"
#include "live/girdle_measure.h"
#include "live/tier_goals.h"

namespace brevix {

namespace {

// A drag by the mouse wheel or the keys ends when they have rested this long.
constexpr int DRAG_PAUSE_MS = 700;
// The slider reaches this far either side of the angle it starts from, in hundredths of a degree.
constexpr int SLIDER_REACH = 500;

// The intent as it stands, without settling the document's own: a tier cut
// away stays in it until the next cut, so that its warning can be given.
DesignIntent currentIntent(const CGemDoc& doc) {
    return intentOf(*doc.stone(), doc.model().recordedIntent() ? &*doc.model().recordedIntent() : nullptr,
                    doc.model().meetTolerance());
}

QDoubleSpinBox* spinBox(double low, double high, int decimals, double step, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setSingleStep(step);
    box->setKeyboardTracking(false);
    box->setAccelerated(false);
    return box;
}

}  // namespace

DesignFiguresPane::DesignFiguresPane(CGemDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("DesignFiguresPane"));
    buildControls();
    dragPause_.setSingleShot(true);
    dragPause_.setInterval(DRAG_PAUSE_MS);
    connect(&dragPause_, &QTimer::timeout, this, [this] {
        if (!angleSlider_->isSliderDown()) finishDrag();
    });
}

void DesignFiguresPane::buildControls() {
    auto* layout = new QVBoxLayout(this);
    figures_ = new QTreeWidget(this);
    figures_->setObjectName(QStringLiteral("DesignFigures"));
    figures_->setRootIsDecorated(false);
    figures_->setColumnCount(3);
    figures_->setHeaderLabels({QStringLiteral("Figure"), QStringLiteral("Design"), QStringLiteral("After cut")});
    // Every figure whole: the pane is as wide as its widest rows need
    // (readableWidth), and a narrower dock scrolls rather than cut them.
    figures_->header()->setStretchLastSection(true);
    for (int column = 0; column < 2; ++column)
        figures_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    figures_->setTextElideMode(Qt::ElideNone);
    figures_->setSelectionMode(QAbstractItemView::NoSelection);
    // Every figure in view without scrolling.
    figures_->setMinimumHeight(figures_->fontMetrics().height() * 15);
    layout->addWidget(figures_, 3);

    layout->addWidget(new QLabel(QStringLiteral("Warnings:"), this));
    warningList_ = new QListWidget(this);
    warningList_->setObjectName(QStringLiteral("DesignWarnings"));
    warningList_->setWordWrap(true);
    warningList_->setMinimumHeight(warningList_->fontMetrics().height() * 4);
    layout->addWidget(warningList_, 2);

    auto* pages = new QTabWidget(this);
    auto* tierPage = new QWidget(pages);
    auto* tierForm = new QFormLayout(tierPage);
    tierForm->setRowWrapPolicy(QFormLayout::WrapLongRows);
    tier_ = new QComboBox(tierPage);
    tier_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    tier_->setMinimumContentsLength(10);
    tierForm->addRow(QStringLiteral("Tier:"), tier_);
    angle_ = spinBox(0, 90, 2, 0.01, tierPage);
    angle_->setSuffix(QStringLiteral("\u00B0"));
    angle_->setToolTip(QStringLiteral("Wheel or arrows: 0.01\u00B0 a step, with Ctrl 0.1\u00B0"));
    tierForm->addRow(QStringLiteral("Angle:"), angle_);
    angleSlider_ = new QSlider(Qt::Horizontal, tierPage);
    angleSlider_->setRange(-SLIDER_REACH, SLIDER_REACH);
    angleSlider_->setValue(0);
    angleSlider_->setToolTip(QStringLiteral("Drag to change the angle up to 5\u00B0 either way"));
    tierForm->addRow(QString(), angleSlider_);
    depth_ = spinBox(0.0001, 5, 4, 0.001, tierPage);
    depth_->setSuffix(QStringLiteral(" W"));
    depth_->setToolTip(QStringLiteral("Centre-to-facet distance as a share of W: 0.001 W a step, with Ctrl 0.01 W"));
    tierForm->addRow(QStringLiteral("Depth:"), depth_);
    dragNote_ = new QLabel(tierPage);
    dragNote_->setWordWrap(true);
    tierForm->addRow(dragNote_);
    pages->addTab(tierPage, QStringLiteral("Change a tier"));

    auto* goalPage = new QWidget(pages);
    auto* goalForm = new QFormLayout(goalPage);
    // A row too wide for the pane puts its fields under the label rather than cut it.
    goalForm->setRowWrapPolicy(QFormLayout::WrapLongRows);
    tableGoal_ = spinBox(0.05, 1.5, 3, 0.005, goalPage);
    tableGoal_->setValue(0.55);
    tableGoalButton_ = new QPushButton(QStringLiteral("Reach"), goalPage);
    tableGoalButton_->setToolTip(QStringLiteral("Move the table's depth until T/W is this"));
    auto* tableRow = new QHBoxLayout;
    tableRow->addWidget(tableGoal_, 1);
    tableRow->addWidget(tableGoalButton_);
    auto* tableLabel = new QLabel(QStringLiteral("Table width T/W:"), goalPage);
    tableLabel->setBuddy(tableGoal_);
    goalForm->addRow(tableLabel, tableRow);
    girdleGoal_ = spinBox(0, 0.3, 3, 0.005, goalPage);
    girdleGoal_->setValue(0.03);
    girdleSide_ = new QComboBox(goalPage);
    // Its choices whole: "by crown mains" cut to "by crown main" reads wrong.
    girdleSide_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    girdleSide_->addItem(QStringLiteral("by crown mains"));
    girdleSide_->addItem(QStringLiteral("by pavilion mains"));
    girdleGoalButton_ = new QPushButton(QStringLiteral("Reach"), goalPage);
    girdleGoalButton_->setToolTip(QStringLiteral("Move the mains' depth until the girdle at their tips is this share of W"));
    auto* girdleRow = new QHBoxLayout;
    girdleRow->addWidget(girdleGoal_, 1);
    girdleRow->addWidget(girdleSide_);
    girdleRow->addWidget(girdleGoalButton_);
    auto* girdleLabel = new QLabel(QStringLiteral("Girdle at mains/W:"), goalPage);
    girdleLabel->setBuddy(girdleGoal_);
    goalForm->addRow(girdleLabel, girdleRow);
    pages->addTab(goalPage, QStringLiteral("Goals"));
    forgiveness_ = new ForgivenessPage(doc_, pages);
    pages->addTab(forgiveness_, QStringLiteral("Forgiveness"));
    layout->addWidget(pages);

    connect(tier_, &QComboBox::currentIndexChanged, this, [this] {
        if (settingControls_) return;
        finishDrag();
        showTierValues();
    });
    connect(angle_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        if (!settingControls_) angleStep(v);
    });
    connect(depth_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        if (!settingControls_) depthStep(v);
    });
    // The slider moves the angle by its own moves, a hundredth of a degree a notch.
    connect(angleSlider_, &QSlider::valueChanged, this, [this](int v) {
        if (settingControls_) return;
        const int moved = v - sliderLast_;
        sliderLast_ = v;
        angle_->setValue(angle_->value() + moved / 100.0);
    });
    connect(angleSlider_, &QSlider::sliderReleased, this, [this] { finishDrag(); });
    connect(tableGoalButton_, &QPushButton::clicked, this, [this] { reachGoal(true); });
    connect(girdleGoalButton_, &QPushButton::clicked, this, [this] { reachGoal(false); });
}

int DesignFiguresPane::readableWidth() const {
    // The widest rows there are: the longest label, and a facet count of a
    // large design both now and after the cut, with the cells' margins.
    const QFontMetrics plain(figures_->font());
    QFont boldFont = figures_->font();
    boldFont.setBold(true);
    const QFontMetrics bold(boldFont);
    const int margin = 2 * (figures_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 4);
    const int label = std::max(plain.horizontalAdvance(QStringLiteral("Girdle, thinnest/W")),
                               plain.horizontalAdvance(QStringLiteral("Girdle at mains/W"))) + margin;
    const int value = bold.horizontalAdvance(QStringLiteral("000 + 00 girdles = 000")) + margin;
    const int frame = 2 * figures_->frameWidth() + figures_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QMargins outer = layout()->contentsMargins();
    return label + 2 * value + frame + outer.left() + outer.right();
}

void DesignFiguresPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) designChanged();
}

void DesignFiguresPane::designChanged() {
    // What is shown here is worked out once per change, by the document.
    const LiveDesign& live = doc_.live();
    warnings_ = live.warnings;
    previewShown_ = live.preview.ready;
    // The cut list's marks and the views' preview follow even while the
    // pane is hidden; the pane itself catches up when it is shown.
    if (onWarnings) onWarnings(warnings_);
    if (onPreview) onPreview(live.preview.ready ? &live.preview : nullptr, live.points);
    forgiveness_->designChanged();
    stale_ = !isVisible();
    if (stale_) return;
    if (!doc_.drag().active()) fillTiers();
    showFigures(live);
    showWarnings(live);
}

void DesignFiguresPane::showFigures(const LiveDesign& live) {
    figures_->clear();
    if (!doc_.stone()) return;
    const std::vector<FigureRow> now = figureRows(live.figures);
    std::vector<FigureRow> after;
    if (live.previewFigures) after = figureRows(*live.previewFigures);
    figures_->setColumnHidden(2, !live.preview.ready);
    QList<QTreeWidgetItem*> items;
    const auto valueIn = [](const std::vector<FigureRow>& rows, const std::string& label) {
        for (const FigureRow& r : rows)
            if (r.label == label) return fromCore(r.value);
        return QString();
    };
    for (const FigureRow& r : now)
        items << new QTreeWidgetItem({fromCore(r.label), fromCore(r.value), valueIn(after, r.label)});
    for (const FigureRow& r : after)
        if (valueIn(now, r.label).isEmpty())
            items << new QTreeWidgetItem({fromCore(r.label), QString(), fromCore(r.value)});
    for (QTreeWidgetItem* item : items) {
        item->setTextAlignment(1, Qt::AlignRight);
        item->setTextAlignment(2, Qt::AlignRight);
        // A value the pending cut would change stands out.
        if (!item->text(2).isEmpty() && item->text(2) != item->text(1)) {
            QFont bold = item->font(2);
            bold.setBold(true);
            item->setFont(2, bold);
        }
    }
    figures_->addTopLevelItems(items);
}

void DesignFiguresPane::showWarnings(const LiveDesign& live) {
    warningList_->clear();
    const auto add = [this](const QString& text, const QColor& colour) {
        auto* item = new QListWidgetItem(text, warningList_);
        item->setForeground(colour);
        item->setToolTip(text);
    };
    for (const DesignWarning& w : warnings_) add(fromCore(w.text), QColor(160, 0, 0));
    for (const std::string& note : live.preview.notes) add(QStringLiteral("New facets: ") + fromCore(note), QColor(0, 0, 160));
    for (const DesignWarning& w : live.previewWarnings) {
        bool known = false;
        for (const DesignWarning& v : warnings_) known = known || v.text == w.text;
        if (!known) add(QStringLiteral("After the cut: ") + fromCore(w.text), QColor(0, 0, 160));
    }
    for (const std::string& problem : doc_.drag().problems()) add(fromCore(problem), QColor(160, 80, 0));
    if (warningList_->count() == 0) add(QStringLiteral("None"), palette().color(QPalette::Disabled, QPalette::Text));
}

QString DesignFiguresPane::figureText(const QString& label, int column) const {
    for (int i = 0; i < figures_->topLevelItemCount(); ++i)
        if (figures_->topLevelItem(i)->text(0) == label) return figures_->topLevelItem(i)->text(column);
    return QString();
}

QStringList DesignFiguresPane::warningTexts() const {
    QStringList texts;
    for (int i = 0; i < warningList_->count(); ++i) texts << warningList_->item(i)->text();
    return texts;
}

void DesignFiguresPane::fillTiers() {
    const int32_t was = selectedTier();
    settingControls_ = true;
    tier_->clear();
    if (const Stone* stone = doc_.stone()) {
        const DesignIntent intent = currentIntent(doc_);
        for (size_t t = 0; t < intent.tiers.size(); ++t) {
            const TierIntent& tier = intent.tiers[t];
            const QString text = fromCore(tierLabel(*stone, intent, int32_t(t))) +
                                 QStringLiteral("  %1\u00B0").arg(std::fabs(tier.angle), 0, 'f', 2);
            tier_->addItem(text, int(t));
        }
    }
    if (was >= 0 && was < tier_->count()) tier_->setCurrentIndex(was);
    settingControls_ = false;
    showTierValues();
}

int32_t DesignFiguresPane::selectedTier() const { return tier_->currentIndex() < 0 ? -1 : tier_->currentData().toInt(); }

int32_t DesignFiguresPane::facetOfTier(int32_t tier) const {
    const Stone* stone = doc_.stone();
    if (!stone || tier < 0) return -1;
    const DesignIntent intent = currentIntent(doc_);
    if (tier >= int32_t(intent.tiers.size())) return -1;
    for (const Plane& p : intent.tiers[tier].planes)
        for (int32_t i = 0; i < stone->nFacet; ++i) {
            const Facet& f = stone->facets[i];
            if (f.a == p.a && f.b == p.b && f.c == p.c && f.d == p.d) return i;
        }
    return -1;
}

void DesignFiguresPane::selectTierOfFacet(int32_t facet) {
    const Stone* stone = doc_.stone();
    if (!stone || doc_.drag().active()) return;
    const int32_t tier = intentTierOfFacet(*stone, currentIntent(doc_), facet);
    if (tier >= 0 && tier < tier_->count()) tier_->setCurrentIndex(tier);
}

void DesignFiguresPane::showTierValues() {
    settingControls_ = true;
    const int32_t tier = selectedTier();
    const Stone* stone = doc_.stone();
    const bool usable = stone && facetOfTier(tier) >= 0;
    angle_->setEnabled(usable);
    depth_->setEnabled(usable);
    angleSlider_->setEnabled(usable);
    if (usable) {
        const DesignIntent intent = currentIntent(doc_);
        const TierIntent& t = intent.tiers[tier];
        Stone copy(*stone);
        computeBounds(copy);
        const double W = proportionsOf(copy.stats).W;
        angle_->setValue(std::fabs(t.angle));
        if (W > EPS) depth_->setValue(t.ced / W);
        dragNote_->setText(fromCore(intentWords(*stone, intent, tier)));
    } else {
        dragNote_->clear();
    }
    angleSlider_->setValue(0);
    sliderLast_ = 0;
    settingControls_ = false;
}

bool DesignFiguresPane::startDrag() {
    if (doc_.drag().active()) return true;
    const int32_t facet = facetOfTier(selectedTier());
    if (facet < 0 || !doc_.drag().begin(facet)) return false;
    Stone copy(*doc_.stone());
    computeBounds(copy);
    dragWidth_ = proportionsOf(copy.stats).W;
    return true;
}

void DesignFiguresPane::angleStep(double shown) {
    if (!startDrag()) return;
    doc_.drag().toAngle(shown);
    if (!angleSlider_->isSliderDown()) dragPause_.start();
}

void DesignFiguresPane::depthStep(double share) {
    if (!startDrag() || !(dragWidth_ > EPS)) return;
    doc_.drag().toDepth(share * dragWidth_);
    dragPause_.start();
}

void DesignFiguresPane::finishDrag() {
    dragPause_.stop();
    if (!doc_.drag().active()) return;
    // The last step's problems come as messages once; the preview is back.
    doc_.drag().end();
}

void DesignFiguresPane::reachGoal(bool table) {
    finishDrag();
    const Stone* stone = doc_.stone();
    if (!stone) return;
    const DesignIntent intent = doc_.model().intent();
    int32_t tier = -1;
    if (table) {
        for (size_t t = 0; t < intent.tiers.size() && tier < 0; ++t)
            if (intent.tiers[t].angle == 0 && !intent.tiers[t].planes.empty() && intent.tiers[t].planes[0].c > 0)
                tier = int32_t(t);
    } else {
        const GirdleMeasure girdle = measureGirdle(*stone);
        const std::vector<int32_t>& mains = girdleSide_->currentIndex() == 0 ? girdle.crownMains : girdle.pavilionMains;
        if (!mains.empty()) tier = intentTierOfFacet(*stone, intent, mains.front());
    }
    if (tier < 0) {
        QMessageBox::information(this, QStringLiteral("Brevix"),
                                 table ? QStringLiteral("The design has no table to move.")
                                       : QStringLiteral("No mains reach the girdle on that side."));
        return;
    }
    const double target = table ? tableGoal_->value() : girdleGoal_->value();
    GoalResult goal = solveTierGoal(*stone, intent, tier, table ? TierGoal::TableWidth : TierGoal::GirdleAtMains, target);
    if (!goal.cut) {
        QMessageBox::information(this, QStringLiteral("Brevix"), fromCore(goal.problem));
        return;
    }
    doc_.takeRecut(std::move(*goal.cut), table ? "Table Goal" : "Girdle Goal");
}

QDockWidget* createDesignFiguresDock(QMainWindow& frame, CGemDoc& doc, const DesignSignals& changes, QAction* toggle) {
    const FiguresPaneSettings stored = loadFiguresPaneSettings();
    auto* dock = new QDockWidget(QStringLiteral("Design Figures"), &frame);
    dock->setObjectName(QStringLiteral("DesignFiguresDock"));
    auto* pane = new DesignFiguresPane(doc, dock);
    // The pane scrolls when the dock is smaller than it, so that it never
    // makes the window larger than it was placed.
    auto* scroller = new QScrollArea(dock);
    scroller->setObjectName(QStringLiteral("DesignFiguresScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    // Never narrower than its figures read whole; a dock made narrower
    // still scrolls sideways rather than cut them.
    const int width = pane->readableWidth();
    pane->setMinimumWidth(width);
    scroller->setWidget(pane);
    dock->setWidget(scroller);
    // Beside the views only where they keep room to draw the stone: a window
    // as small as the first one starts without the pane until it is asked for.
    constexpr int kViewsRoom = 520;
    bool visible = stored.visible;
    if (!stored.visibleChosen && frame.width() - width < kViewsRoom) visible = false;
    // Room for the scroll bar a short window gives it, so that it never scrolls sideways too.
    const int dockWidth = width + scroller->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    placeRememberedDock(frame, dock, {visible, stored.floating, stored.dockArea}, dockWidth, toggle,
                        [](const DockPlace& place) {
                            saveFiguresPaneSettings({place.visible, place.dockArea, place.floating});
                        });
    QObject::connect(&changes, &DesignSignals::designChanged, pane, [pane] { pane->designChanged(); });
    return dock;
}

}  // namespace brevix
