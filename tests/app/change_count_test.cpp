// What one change of the design costs the window: a cut from the form and
// one step of a tier drag each work out the live figures once, ask the
// Light Performance pane for one picture and paint each view once, however
// many parts of the window follow the change.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTest>

#include "app/command_table.h"
#include "app/dialogs/add_dlg.h"
#include "app/panes/figures_pane.h"
#include "app/panes/four_view.h"
#include "app/panes/light_performance_pane.h"
#include "app/panes/spin_view.h"
#include "app_test_support.h"
#include "widget_test.h"
#include "intent/brilliant_intent.h"

using namespace brevix;
using namespace brevix::test;

namespace {

struct Counts {
    int live = 0;
    int lightRequests = 0;
    int fourPaints = 0;
    int spinPaints = 0;
};

}  // namespace

class ChangeCountTest : public QObject {
    Q_OBJECT

    Counts counts() const {
        return {session_->doc.liveComputations(), light_->renderRequests(), session_->frame->fourView()->paints(),
                session_->frame->spinView()->paints()};
    }
    // Every paint and picture the last change asked for has happened.
    void settle() {
        QTRY_VERIFY_WITH_TIMEOUT(light_->upToDate(), WAIT_MS);
        for (int k = 0; k < 5; ++k) {
            QCoreApplication::processEvents();
            QTest::qWait(20);
        }
    }
    // The paints the last change asked for, without waiting for anything slower.
    static void paint() {
        for (int k = 0; k < 3; ++k) QCoreApplication::processEvents();
    }
    void expectOnceEach(const Counts& before, const char* what) {
        const Counts after = counts();
        QVERIFY2(after.live - before.live == 1, what);
        QVERIFY2(after.lightRequests - before.lightRequests == 1, what);
        QVERIFY2(after.fourPaints - before.fourPaints == 1, what);
        QVERIFY2(after.spinPaints - before.spinPaints == 1, what);
    }

    std::unique_ptr<TemporaryRegistry> registry_;
    std::unique_ptr<Session> session_;
    DesignFiguresPane* figures_ = nullptr;
    LightPerformancePane* light_ = nullptr;

private Q_SLOTS:
    void init() {
        registry_ = std::make_unique<TemporaryRegistry>();
        session_ = std::make_unique<Session>();
        CMainFrame& frame = *session_->frame;
        // Every reader of the change on screen: the figures pane and the light pane too.
        for (int id : {ID_VIEW_DESIGN_FIGURES, ID_VIEW_LIGHT_PERFORMANCE}) {
            QAction* toggle = frame.action(id);
            if (!toggle->isChecked()) toggle->trigger();
        }
        figures_ = frame.findChild<DesignFiguresPane*>(QStringLiteral("DesignFiguresPane"));
        light_ = frame.findChild<LightPerformancePane*>(QStringLiteral("LightPerformancePane"));
        QVERIFY(figures_ && figures_->isVisible());
        QVERIFY(light_ && light_->isVisible());
        DesignWithIntent b = cutRoundBrilliantByIntent();
        session_->doc.model().put(std::make_unique<Stone>(std::move(b.stone)), std::move(b.intent));
        settle();
    }
    void cleanup() {
        session_.reset();
        registry_.reset();
    }

    void aCutFromTheFormIsWorkedOutAndDrawnOnce() {
        CGemDoc& doc = session_->doc;
        // A second row of crown facets, as typed into the form.
        doc.pending().setSymmetry(8, 1);
        doc.pending().setAngle(28, true);
        doc.pending().setIndex(3, true);
        doc.pending().setCed(0.56, true);
        doc.pendingChanged();
        settle();
        QVERIFY(figures_->previewShown());
        const int32_t facets = doc.stone()->nFacet;

        const Counts before = counts();
        session_->frame->addDlg()->cutButton()->click();
        settle();
        QCOMPARE(doc.stone()->nFacet, facets + 16);
        expectOnceEach(before, "one cut");

        // The Undo and Redo items name the change they act on; their texts stay.
        CMainFrame& frame = *session_->frame;
        QAction* undo = frame.action(ID_EDIT_UNDO);
        QAction* redo = frame.action(ID_EDIT_REDO);
        QCOMPARE(undo->statusTip(), QStringLiteral("Undo Cut Facet"));
        QCOMPARE(undo->toolTip(), QStringLiteral("Undo Cut Facet"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
        doc.undo();
        QCOMPARE(redo->statusTip(), QStringLiteral("Redo Cut Facet"));
        QCOMPARE(redo->toolTip(), QStringLiteral("Redo Cut Facet"));
        QCOMPARE(redo->text(), QStringLiteral("&Redo"));
    }

    void aStepOfATierDragIsWorkedOutAndDrawnOnce() {
        CGemDoc& doc = session_->doc;
        figures_->tierBox()->setCurrentIndex(1);  // P1, the pavilion mains
        settle();
        const double start = figures_->angleBox()->value();

        // Counted before the drag's pause can end it (its end is a change of its own).
        Counts before = counts();
        figures_->angleBox()->setValue(start - 0.1);
        QVERIFY(doc.drag().active());
        paint();
        expectOnceEach(before, "the first step");
        settle();
        // The next step re-cuts from the drag's start (or, after a pause
        // long enough to end the drag, starts one): the same once again.
        before = counts();
        figures_->angleBox()->setValue(start - 0.2);
        paint();
        expectOnceEach(before, "a later step");
        settle();
        figures_->finishDrag();
        QCOMPARE(doc.undoStack().undoName(), std::string("Drag P1"));
    }
};

BREVIX_WIDGET_TEST(ChangeCountTest)
#include "change_count_test.moc"
