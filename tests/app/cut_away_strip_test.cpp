// A tier that a steeper angle lets later tiers cut away entirely is said
// where the user is looking: in the status bar and in a strip above the
// views, whose button changes the tier so that it comes back.
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include "widget_test.h"
#include <QTimer>
#include <cmath>

#include "app/brevix_app.h"
#include "app/panes/cut_away_strip.h"
#include "app/panes/four_view.h"
#include "app_test_support.h"
#include "intent/brilliant_intent.h"

using namespace brevix;
using namespace brevix::test;

namespace {

int facetsNamed(const Stone& stone, const std::string& name) {
    int n = 0;
    for (int32_t i = stone.nRough; i < stone.nFacet; ++i) n += stone.facetName(i) == name ? 1 : 0;
    return n;
}

int32_t firstFacetNamed(const Stone& stone, const std::string& name) {
    for (int32_t i = stone.nRough; i < stone.nFacet; ++i)
        if (stone.facetName(i) == name) return i;
    return -1;
}

// Edit Tier's new angle, as the dialog applies it.
void editTierAngle(CGemDoc& doc, const std::string& tier, double angle) {
    const int32_t facet = firstFacetNamed(*doc.stone(), tier);
    QVERIFY(facet >= 0);
    doc.recutTierAngle(facet, angle);
}

}  // namespace

class CutAwayStripTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void aTierCutAwayIsSaidAndTheStripBringsItBack() {
        TemporaryRegistry registry;
        Session session;
        openBrilliant(session.doc);
        CutAwayStrip* strip = session.frame->cutAwayStrip();
        QVERIFY(strip);
        QVERIFY(!strip->isVisible());
        QCOMPARE(facetsNamed(*session.doc.stone(), "P1"), 8);

        editTierAngle(session.doc, "P1", 42);
        QApplication::processEvents();
        QCOMPARE(facetsNamed(*session.doc.stone(), "P1"), 0);
        QVERIFY(strip->isVisible());
        QCOMPARE(strip->text(), QStringLiteral("P1 cut away entirely by P2"));
        QCOMPARE(strip->changeButton()->text(), QStringLiteral("&Change P1..."));
        // In the status bar too, where the pointer's coordinates do not write over it.
        QCOMPARE(session.frame->cutAwayStatusText(), QStringLiteral("P1 cut away entirely by P2"));
        // Above the views: the strip's bottom is above the four views' top.
        const QPoint stripBottom = strip->mapTo(session.frame.get(), QPoint(0, strip->height()));
        const QWidget* views = session.frame->fourView();
        QVERIFY(stripBottom.y() <= views->mapTo(session.frame.get(), QPoint(0, 0)).y());
        const QByteArray pictures = qgetenv("BREVIX_GUIDE_IMAGES");
        if (!pictures.isEmpty()) session.frame->grab().save(QString::fromLocal8Bit(pictures) + "/cut_away_strip.png");

        // The button asks for the tier's new angle; the old one brings it back.
        bool asked = false;
        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!dialog || asked) return;
            asked = true;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit Tier P1"));
            QCOMPARE(dialog->doubleValue(), 42.0);
            dialog->setDoubleValue(40.75);
            dialog->accept();
        });
        answer.start();
        strip->changeButton()->click();
        answer.stop();
        QVERIFY(asked);
        QApplication::processEvents();
        QCOMPARE(facetsNamed(*session.doc.stone(), "P1"), 8);
        QVERIFY(!strip->isVisible());
        QCOMPARE(strip->text(), QString());
        QCOMPARE(session.frame->cutAwayStatusText(), QString());
        // One Undo takes the change back, and the strip with it.
        session.doc.undo();
        QApplication::processEvents();
        QCOMPARE(facetsNamed(*session.doc.stone(), "P1"), 0);
        QVERIFY(strip->isVisible());
    }

    void aCancelledChangeLeavesTheDesign() {
        TemporaryRegistry registry;
        Session session;
        openBrilliant(session.doc);
        editTierAngle(session.doc, "P1", 43);
        QApplication::processEvents();
        CutAwayStrip* strip = session.frame->cutAwayStrip();
        QVERIFY(strip->isVisible());
        const int cursor = session.doc.undoStack().cursor();
        QTimer::singleShot(50, [] {
            if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) dialog->reject();
        });
        strip->changeButton()->click();
        QCOMPARE(session.doc.undoStack().cursor(), cursor);
        QCOMPARE(facetsNamed(*session.doc.stone(), "P1"), 0);
        QVERIFY(strip->isVisible());
    }
};

BREVIX_WIDGET_TEST(CutAwayStripTest)
#include "cut_away_strip_test.moc"
