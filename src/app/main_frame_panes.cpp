// The main window's panes: the three nested splitters and what they hold. The commands and the
// rest of CMainFrame are in main_frame.cpp.
#include "app/main_frame.h"

#include <QDockWidget>
#include <QInputDialog>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <cmath>

#include "app/command_table.h"
#include "app/dialogs/add_dlg.h"
#include "app/dialogs/pick_dialog_flow.h"
#include "app/panes/cut_away_strip.h"
#include "app/panes/cut_list_view.h"
#include "app/panes/figures_pane.h"
#include "app/panes/four_view.h"
#include "app/panes/spin_view.h"
#include "document/gem_doc.h"
#include "document/meet_tolerance_setting.h"
#include "intent/design_intent.h"
#include "intent/intent_words.h"

namespace brevix {

void CMainFrame::createPanes() {
    splitterA_ = new QSplitter(Qt::Vertical, this);
    splitterA_->setObjectName(QStringLiteral("SplitterA"));
    splitterB_ = new QSplitter(Qt::Horizontal, splitterA_);
    splitterB_->setObjectName(QStringLiteral("SplitterB"));
    splitterC_ = new QSplitter(Qt::Vertical, splitterB_);
    splitterC_->setObjectName(QStringLiteral("SplitterC"));

    spinView_ = new CSpinView(doc_, splitterC_);
    // A form scrolls when its pane is smaller than the form, so the splitter
    // may make the pane as small as the user likes (minimum size 0).
    auto* formPane = new QScrollArea(splitterC_);
    formPane->setObjectName(QStringLiteral("CutFacetPane"));
    formPane->setFrameShape(QFrame::NoFrame);
    formPane->setWidgetResizable(true);
    addDlg_ = new CAddDlg(doc_, formPane);
    formPane->setWidget(addDlg_);
    fourView_ = new CFourView(doc_, splitterB_);
    cutList_ = new CCutLstView(doc_, splitterA_);
    cutList_->setColumnWidthsFor(700);

    splitterC_->addWidget(spinView_);
    splitterC_->addWidget(formPane);
    splitterB_->addWidget(splitterC_);
    splitterB_->addWidget(fourView_);
    splitterA_->addWidget(splitterB_);
    splitterA_->addWidget(cutList_);

    // What the window gains or loses goes mostly to the four views, where
    // the design is drawn: the cut list gets a quarter of the new height, the
    // spin view and form column a third of the new width, and within that
    // column the spin view all of it (the form has a natural size).
    splitterA_->setStretchFactor(0, 3);
    splitterA_->setStretchFactor(1, 1);
    splitterB_->setStretchFactor(0, 1);
    splitterB_->setStretchFactor(1, 2);
    splitterC_->setStretchFactor(0, 1);
    splitterC_->setStretchFactor(1, 0);
    for (QSplitter* s : {splitterA_, splitterB_, splitterC_}) s->setChildrenCollapsible(true);
    setCentralWidget(splitterA_);
    // The strip takes room above the views only while a tier is cut away:
    // a bar of its own below the toolbar, so that the splitters stay the
    // window's central widget and keep their sizes.
    cutAwayBar_ = new QToolBar(QStringLiteral("Cut away"), this);
    cutAwayBar_->setObjectName(QStringLiteral("CutAwayBar"));
    cutAwayBar_->setMovable(false);
    cutAwayBar_->setFloatable(false);
    cutAwayBar_->toggleViewAction()->setVisible(false);
    cutAwayStrip_ = new CutAwayStrip(cutAwayBar_);
    cutAwayStrip_->onChangeTier = [this](const std::string& tier) { changeCutAwayTier(tier); };
    cutAwayStripAction_ = cutAwayBar_->addWidget(cutAwayStrip_);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, cutAwayBar_);
    cutAwayBar_->hide();
    useCreationPaneSizes();

    spinView_->onStatusText = [this](const QString& text) { setMessageText(text); };
    spinView_->onCommand = [this](int id) {
        if (QAction* a = action(id); a && a->isEnabled()) a->trigger();
    };
    fourView_->onCommand = spinView_->onCommand;
    fourView_->onStatusText = spinView_->onStatusText;
    addDlg_->onBetween = [this] {
        if (runBetweenDialog(addDlg_, doc_, fourView_->zoomed()))
            zoom(fourView_->zoomed() ? ID_ZOOM_OUT : ID_ZOOM_TOP);
    };
    lastActivePane_ = fourView_;
    fourView_->setFocus();
}

void CMainFrame::useCreationPaneSizes() {
    settings_.splitterA = {500, 100};
    settings_.splitterB = {250, 500};
    settings_.splitterC = {200, 300};
    applyPaneSizes();
}

void CMainFrame::connectDesignFigures(QDockWidget* dock) {
    auto* pane = dock->findChild<DesignFiguresPane*>(QStringLiteral("DesignFiguresPane"));
    if (!pane) return;
    pane->onWarnings = [this](const std::vector<DesignWarning>& warnings) {
        cutList_->markWarnings(warnings);
        // Said where the user is looking when it happens, and kept in view
        // above the views until the tier is back or gone for good.
        if (cutAwayStrip_->showWarnings(warnings))
            setMessageText(cutAwayStrip_->text().split(QLatin1Char('\n')).join(QStringLiteral("; ")));
        const QString cutAway = cutAwayStrip_->text().split(QLatin1Char('\n')).join(QStringLiteral("; "));
        // A widget on a bar shows through its action, not by itself.
        cutAwayStripAction_->setVisible(!cutAway.isEmpty());
        cutAwayBar_->setVisible(!cutAway.isEmpty());
        if (cutAwayPane_) {
            cutAwayPane_->setText(cutAway);
            cutAwayPane_->setVisible(!cutAway.isEmpty());
        }
    };
    pane->onPreview = [this](const CutPreview* preview, const std::vector<Vec3>& points) {
        PreviewOverlay overlay = overlayOf(preview, points);
        spinView_->setPreviewOverlay(overlay);
        fourView_->setPreviewOverlay(std::move(overlay));
    };
    // The tier the cut list is on is the one the pane changes.
    connect(cutList_, &QTreeWidget::currentItemChanged, pane, [this, pane](QTreeWidgetItem* item) {
        if (!item) return;
        const int32_t facet = cutList_->facetOfRowAt(cutList_->indexOfTopLevelItem(item));
        if (facet >= 0) pane->selectTierOfFacet(facet);
    });
    pane->designChanged();
}

void CMainFrame::changeCutAwayTier(const std::string& tier) {
    const Stone* stone = doc_.stone();
    if (!stone) return;
    const DesignIntent& intent = doc_.model().intent();
    const int32_t t = findTier(*stone, intent, tier);
    if (t < 0) return;
    const QString name = fromCore(tier);
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("EditCutAwayTier"));
    dialog.setWindowTitle(QStringLiteral("Edit Tier %1").arg(name));
    dialog.setLabelText(QStringLiteral("%1 is cut away entirely. New angle of %1 (degrees):").arg(name));
    dialog.setInputMode(QInputDialog::DoubleInput);
    dialog.setDoubleDecimals(2);
    dialog.setDoubleRange(0.01, 89.99);
    dialog.setDoubleValue(std::fabs(intent.tiers[t].angle));
    if (dialog.exec() != QDialog::Accepted) return;
    doc_.changeTierAngle(tier, dialog.doubleValue());
}

void CMainFrame::meetToleranceCommand() {
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("MeetToleranceDlg"));
    dialog.setWindowTitle(QStringLiteral("Meet Tolerance"));
    dialog.setLabelText(QStringLiteral(
        "A design that kept no intent (.gem, .asc) is taken to be cut to a meet\n"
        "where its plane misses the point by no more than (a share of W):"));
    dialog.setInputMode(QInputDialog::DoubleInput);
    dialog.setDoubleDecimals(6);
    dialog.setDoubleRange(0, MAX_MEET_TOLERANCE_W);
    dialog.setDoubleStep(0.00005);
    dialog.setDoubleValue(doc_.model().meetTolerance());
    if (dialog.exec() != QDialog::Accepted) return;
    doc_.model().setMeetTolerance(dialog.doubleValue());
    saveMeetTolerance(doc_.model().meetTolerance());
    doc_.model().announce(SettingsChanged);
}

}  // namespace brevix
