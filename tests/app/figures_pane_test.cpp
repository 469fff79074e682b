// View > Design Figures in the real window: hidden in the small first window
// until asked for, and remembered, the figures brevix-cli info prints, the pending facet's
// figures and its outline over the views without touching the design, the
// girdle warning in the pane and in the cut list, and a drag of a tier that
// is one Undo, and the Forgiveness tab following the design.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QTabWidget>
#include <QTest>
#include "widget_test.h"
#include <cmath>
#include <sstream>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/dialogs/add_dlg.h"
#include "app/panes/cut_list_view.h"
#include "app/panes/figures_pane.h"
#include "app/panes/forgiveness_page.h"
#include "app/panes/four_view.h"
#include "app/panes/light_performance_pane.h"
#include "app_test_support.h"
#include "design/design_text.h"
#include "design/measures.h"
#include "intent/brilliant_intent.h"
#include "intent/recut.h"
#include "intent/tier_planes.h"
#include "optics/light_score.h"
#include "platform/strformat.h"
#include "tolerance/tolerance.h"

using namespace brevix;
using namespace brevix::test;

namespace {

QDockWidget* dockOf(CMainFrame& frame) { return frame.findChild<QDockWidget*>(QStringLiteral("DesignFiguresDock")); }
// The pane, shown as the user shows it: the first window starts without it.
DesignFiguresPane* paneOf(CMainFrame& frame) {
    if (!dockOf(frame)->isVisible()) frame.action(ID_VIEW_DESIGN_FIGURES)->trigger();
    return frame.findChild<DesignFiguresPane*>(QStringLiteral("DesignFiguresPane"));
}

std::string planesOf(const Stone& stone) {
    std::ostringstream out;
    out << std::hexfloat;
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const Facet& f = stone.facets[i];
        out << f.a << ' ' << f.b << ' ' << f.c << ' ' << f.d << ' ' << f.name << '\n';
    }
    return out.str();
}

// The guide's pictures, when BREVIX_GUIDE_IMAGES names a folder.
void guideWindowImage(QWidget* widget, const char* name) {
    const QByteArray folder = qgetenv("BREVIX_GUIDE_IMAGES");
    if (folder.isEmpty()) return;
    if (widget->isWindow() && widget->width() < 1100) {
        widget->resize(1180, 760);
        QTest::qWait(200);
    }
    QApplication::processEvents();
    widget->grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromLatin1(name)));
}

}  // namespace

class FiguresPaneTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    // The first window (767 x 540) has no room for the pane beside the
    // views: it starts hidden there, and the user's choice is kept.
    void hiddenAtTheFirstSizeShownWhenAskedAndRemembered() {
        TemporaryRegistry registry;
        {
            Session session;
            QDockWidget* dock = dockOf(*session.frame);
            QVERIFY(dock);
            QVERIFY(!dock->isVisible());
            QAction* toggle = session.frame->action(ID_VIEW_DESIGN_FIGURES);
            QCOMPARE(toggle->text(), QStringLiteral("Design &Figures"));
            QVERIFY(!toggle->isChecked());
            toggle->trigger();
            QVERIFY(dock->isVisible());
            QVERIFY(toggle->isChecked());
            // As wide as its figures need, not squeezed by the views.
            QVERIFY(dock->width() >= dock->findChild<DesignFiguresPane*>()->readableWidth());
            session.close();
        }
        {
            Session again;
            QVERIFY(dockOf(*again.frame)->isVisible());
            again.frame->action(ID_VIEW_DESIGN_FIGURES)->trigger();
            QVERIFY(!dockOf(*again.frame)->isVisible());
            again.close();
        }
        Session third;
        QVERIFY(!dockOf(*third.frame)->isVisible());
        QVERIFY(!third.frame->action(ID_VIEW_DESIGN_FIGURES)->isChecked());
    }

    void figuresAreThoseOfTheStatisticsText() {
        TemporaryRegistry registry;
        Session session;
        DesignFiguresPane* pane = paneOf(*session.frame);
        Stone copy(*session.doc.stone());
        computeBounds(copy);
        const std::string text = statisticsText(copy);
        const Proportions p = proportionsOf(copy.stats);
        for (const auto& [label, value] :
             {std::pair{"L/W", p.L / p.W}, {"T/W", p.T / p.W}, {"P/W", p.P / p.W}, {"C/W", p.C / p.W}}) {
            const std::string shown = strprintf("%s = %.3f", label, value);
            QVERIFY2(text.find(shown) != std::string::npos, shown.c_str());
            QCOMPARE(pane->figureText(QString::fromLatin1(label)), QString::fromStdString(strprintf("%.3f", value)));
        }
        QCOMPARE(pane->figureText(QStringLiteral("Facets")), QStringLiteral("57 + 16 girdles = 73"));
        QVERIFY(!pane->figureText(QStringLiteral("Girdle at mains/W")).isEmpty());
    }

    void thePendingFacetIsShownAndNothingIsCut() {
        TemporaryRegistry registry;
        Session session;
        openBrilliant(session.doc);
        DesignFiguresPane* pane = paneOf(*session.frame);
        const std::string before = planesOf(*session.doc.stone());
        const int cursor = session.doc.undoStack().cursor();
        QVERIFY(!pane->previewShown());
        QVERIFY(session.frame->fourView()->previewOverlay().empty());

        // A second row of crown facets, typed into the form.
        session.doc.pending().setSymmetry(8, 1);
        session.doc.pending().setAngle(28, true);
        session.doc.pending().setIndex(3, true);
        // The guide's example: just inside the crown's farthest corner in that direction.
        const Plane unit = planeOf(28, 3, 1, 96, 0);
        double reach = 0;
        for (int32_t v = 0; v < session.doc.stone()->nVertex; ++v)
            reach = std::max(reach, dot(session.doc.stone()->vertices[v].pos(), Vec3{unit.a, unit.b, unit.c}));
        QVERIFY(reach > 0.56 && reach < 0.57);
        session.doc.pending().setCed(0.56, true);
        session.doc.pendingChanged();
        QVERIFY(pane->previewShown());
        QCOMPARE(session.frame->fourView()->previewOverlay().outlines.size(), size_t(16));
        QCOMPARE(pane->figureText(QStringLiteral("Facets"), 2), QStringLiteral("73 + 16 girdles = 89"));
        QCOMPARE(pane->figureText(QStringLiteral("Facets"), 1), QStringLiteral("57 + 16 girdles = 73"));
        guideWindowImage(session.frame.get(), "live_preview.png");

        // Far out the facets miss, and the pane says so.
        session.doc.pending().setCed(3, true);
        session.doc.pendingChanged();
        QVERIFY(!pane->previewShown());
        QVERIFY(pane->warningTexts().join('\n').contains(QStringLiteral("New facets: 16 new facets would miss the stone")));
        QCOMPARE(planesOf(*session.doc.stone()), before);
        QCOMPARE(session.doc.undoStack().cursor(), cursor);
        session.doc.pending().clearInfo();
        session.doc.pendingChanged();
        QVERIFY(session.frame->fourView()->previewOverlay().empty());
    }

    void aGirdleCutThroughIsWarnedInThePaneAndTheCutList() {
        TemporaryRegistry registry;
        Session session;
        openBrilliant(session.doc);
        DesignFiguresPane* pane = paneOf(*session.frame);
        QCOMPARE(pane->warningTexts(), QStringList{QStringLiteral("None")});
        QVERIFY(session.frame->cutList()->markedRows().isEmpty());

        openBrilliant(session.doc, 0.05);
        const QString all = pane->warningTexts().join('\n');
        QVERIFY2(all.contains(QStringLiteral("Girdle cut through: C3")), qPrintable(all));
        const QMap<int, QStringList> marked = session.frame->cutList()->markedRows();
        QVERIFY(!marked.isEmpty());
        // The upper halves' row is among them.
        bool uppers = false;
        for (auto it = marked.begin(); it != marked.end(); ++it)
            uppers = uppers || session.frame->cutList()->topLevelItem(it.key())->text(0) == QStringLiteral("C3");
        QVERIFY(uppers);
        guideWindowImage(session.frame.get(), "live_girdle_warning.png");
    }

    void dragginATierIsOneUndo() {
        TemporaryRegistry registry;
        Session session;
        openBrilliant(session.doc);
        DesignFiguresPane* pane = paneOf(*session.frame);
        session.frame->action(ID_VIEW_LIGHT_PERFORMANCE)->trigger();
        auto* light = session.frame->findChild<LightPerformancePane*>(QStringLiteral("LightPerformancePane"));
        QVERIFY(light);
        const std::string before = planesOf(*session.doc.stone());
        const int cursor = session.doc.undoStack().cursor();
        pane->tierBox()->setCurrentIndex(1);  // P1, the pavilion mains
        QCOMPARE(pane->angleBox()->value(), 40.75);
        for (int k = 1; k <= 10; ++k) pane->angleBox()->setValue(40.75 - 0.1 * k);
        QVERIFY(session.doc.drag().active());
        pane->finishDrag();
        QVERIFY(!session.doc.drag().active());
        QCOMPARE(session.doc.undoStack().cursor(), (cursor + 1) % UndoStack::SIZE);
        const Plane mains = session.doc.model().intent().tiers[1].planes[0];
        const int32_t p1 = session.doc.stone()->facetByPlane(mains.a, mains.b, mains.c);
        QVERIFY(p1 >= 0);
        QVERIFY2(std::fabs(std::fabs(session.doc.stone()->facetAngleOf(p1)) - 39.75) < 1e-9,
                 qPrintable(QString::number(session.doc.stone()->facetAngleOf(p1), 'g', 17)));
        // The light pane follows the drag by itself.
        QTRY_VERIFY_WITH_TIMEOUT(light->upToDate() && !light->image().isNull(), 60000);
        session.frame->resize(1280, 1000);
        QTRY_VERIFY_WITH_TIMEOUT(light->upToDate(), 60000);
        guideWindowImage(session.frame.get(), "live_drag.png");
        session.doc.undo();
        QCOMPARE(planesOf(*session.doc.stone()), before);
    }

    // The Forgiveness tab shows the spread of the design in hand: a change
    // made while the copies are being cut gives that work up, and what is
    // shown at the end is exactly the analysis of the changed design.
    void theForgivenessTabFollowsTheDesignInHand() {
        TemporaryRegistry registry;
        Session session;
        session.frame->resize(1180, 900);
        DesignFiguresPane* pane = paneOf(*session.frame);
        ForgivenessPage* page = pane->forgivenessPage();
        QVERIFY(page);
        openBrilliant(session.doc);
        auto* tabs = pane->findChild<QTabWidget*>();
        QVERIFY(tabs);
        tabs->setCurrentWidget(page);
        QTRY_VERIFY_WITH_TIMEOUT(page->upToDate() && page->report(), 120000);
        QCOMPARE(page->report()->tiers.size(), size_t(7));

        // Lower the stars while the first analysis may still be running.
        openBrilliant(session.doc, 0.02);
        QVERIFY(!page->report() || !page->upToDate());
        QTRY_VERIFY_WITH_TIMEOUT(page->upToDate() && page->report(), 120000);
        tolerance::ToleranceOptions options;
        options.light.refractiveIndex =
            optics::chooseLight(std::nullopt, std::nullopt, session.doc.stone()->refractiveIndex).refractiveIndex;
        const tolerance::ToleranceReport direct =
            tolerance::analyseTolerance(*session.doc.stone(), session.doc.model().intent(), options);
        const tolerance::ToleranceReport& shown = *page->report();
        QCOMPARE(shown.nominalIso, direct.nominalIso);
        QCOMPARE(shown.iso.p5, direct.iso.p5);
        QCOMPARE(shown.iso.p95, direct.iso.p95);
        QCOMPARE(shown.mostSensitive, direct.mostSensitive);
        const QString summary = page->summaryText();
        QVERIFY2(summary.contains(QStringLiteral("Most sensitive: ") +
                                  QString::fromStdString(direct.tiers[size_t(direct.mostSensitive)].name)),
                 qPrintable(summary));
        guideWindowImage(pane, "forgiveness_tab.png");

        // A room chosen: the same analysis judged in it as well, and its
        // spread in the summary.
        auto* lighting = page->findChild<QComboBox*>(QStringLiteral("ForgivenessLighting"));
        QVERIFY(lighting);
        lighting->setCurrentIndex(lighting->findData(QStringLiteral("spot")));
        QVERIFY(!page->upToDate());
        QTRY_VERIFY_WITH_TIMEOUT(page->upToDate() && page->report(), 120000);
        options.lightings = {optics::Environment::Spot};
        const tolerance::ToleranceReport spot =
            tolerance::analyseTolerance(*session.doc.stone(), session.doc.model().intent(), options);
        QCOMPARE(page->report()->nominalJudged, spot.nominalJudged);
        QCOMPARE(page->report()->judged.p95, spot.judged.p95);
        QCOMPARE(page->report()->nominalIso, direct.nominalIso);
        QVERIFY2(page->summaryText().contains(QStringLiteral("\nSpot ")), qPrintable(page->summaryText()));
    }
};

BREVIX_WIDGET_TEST(FiguresPaneTest)
#include "figures_pane_test.moc"
