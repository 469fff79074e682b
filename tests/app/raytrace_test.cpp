// Light rays in the window: the right button over the four view and the spin
// view, erasing with D and Ctrl+D, and the Raytrace Properties dialog typed
// into the way a user types.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include "widget_test.h"
#include <QTimer>
#include <cmath>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/dialogs/raytrace_properties_dlg.h"
#include "app/panes/four_view.h"
#include "app/panes/spin_view.h"
#include "app_test_support.h"
#include "app/panes/ray_shooting.h"

using namespace brevix;
using namespace brevix::test;

namespace {

void rightButton(QWidget* w, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::RightButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::RightButton;
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// The middle of the top pane: the middle of the stone seen from above.
QPoint topPaneCentre(const CFourView* view) {
    const View& top = view->panes().at(0);
    return {static_cast<int>(top.originX) + 3, static_cast<int>(top.originY) + 2};
}

int paths(const Stone& stone) {
    int n = 0;
    for (int32_t k = 0; k < stone.nRay; k += 4) n += stone.rays[k] == 1.0;
    return n;
}

// A fan: the right button dragged across the top pane through the middle
// of the table, one ray every few pixels.
void dragFan(CFourView* four, int halfWidth, int step) {
    const QPoint centre = topPaneCentre(four);
    rightButton(four, QEvent::MouseButtonPress, centre - QPoint(halfWidth, 0));
    for (int dx = -halfWidth + step; dx <= halfWidth; dx += step)
        rightButton(four, QEvent::MouseMove, centre + QPoint(dx, 0));
    rightButton(four, QEvent::MouseButtonRelease, centre + QPoint(halfWidth, 0));
}

// An item picked from the list, as the list reports it.
void pick(QComboBox* combo, int item) {
    combo->setCurrentIndex(item);
    Q_EMIT combo->activated(item);
}

QString degrees(const char* digits) { return QString::fromLatin1(digits) + QChar(0xB0); }

}  // namespace

class RaytraceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void rightDragDrawsAFanAndDErasesIt() {
        TemporaryRegistry registry;
        Session session;
        int beeps = 0;
        for (RayShooting* shooting : session.frame->findChildren<RayShooting*>())
            shooting->beep = [&beeps] { ++beeps; };
        CFourView* four = session.frame->fourView();
        four->repaint();  // the panes a ray is shot from
        const QPoint at = topPaneCentre(four);
        rightButton(four, QEvent::MouseButtonPress, at);
        for (int step = 1; step <= 5; ++step)
            rightButton(four, QEvent::MouseMove, at + QPoint(4 * step, 0));
        rightButton(four, QEvent::MouseButtonRelease, at + QPoint(20, 0));
        // Moving on without the button shoots nothing more.
        rightButton(four, QEvent::MouseMove, at + QPoint(30, 0));
        const Stone& stone = *session.doc.stone();
        QCOMPARE(paths(stone), 6);
        QCOMPARE(beeps, 0);
        QVERIFY(!session.doc.model().isModified());  // rays are not part of the design

        // Beside the stone: a beep and no path.
        rightButton(four, QEvent::MouseButtonPress, {2, 2});
        rightButton(four, QEvent::MouseButtonRelease, {2, 2});
        QCOMPARE(beeps, 1);
        QCOMPARE(paths(stone), 6);

        four->setFocus();
        QTest::keyClick(four, Qt::Key_D);
        QCOMPARE(stone.nRay, 0);

        // The spin view shoots too, and Ctrl+D erases from anywhere.
        CSpinView* spin = session.frame->spinView();
        spin->repaint();
        const QPoint middle(spin->width() / 2, spin->height() / 2);
        rightButton(spin, QEvent::MouseButtonPress, middle);
        rightButton(spin, QEvent::MouseButtonRelease, middle);
        QCOMPARE(paths(stone), 1);
        session.frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(session.frame.get()));
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(stone.nRay, 0);
    }

    void dialogFieldsFollowEachOther() {
        CRaytracePropertiesDlg dialog(1.54);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Raytrace Properties"));
        QCOMPARE(dialog.indexCombo()->count(), 16);
        QCOMPARE(dialog.indexCombo()->itemText(13), QStringLiteral("2.42  Diamond"));
        QCOMPARE(dialog.indexCombo()->currentText(), QStringLiteral("1.540"));
        QCOMPARE(dialog.angleEdit()->text(), degrees("40.49"));

        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.angleEdit()->setFocus();
        dialog.angleEdit()->selectAll();
        QTest::keyClicks(dialog.angleEdit(), QStringLiteral("24.41"));
        QCOMPARE(dialog.indexCombo()->currentText(), QStringLiteral("2.420"));
        QTest::keyClicks(dialog.angleEdit(), QStringLiteral("9"));  // 24.419
        dialog.indexCombo()->setFocus();  // leaving tidies the angle
        QCOMPARE(dialog.angleEdit()->text(), degrees("24.42"));

        // Typing an index shows its angle; leaving with 3.2 empties it.
        dialog.indexCombo()->lineEdit()->selectAll();
        QTest::keyClicks(dialog.indexCombo()->lineEdit(), QStringLiteral("3.2"));
        QCOMPARE(dialog.angleEdit()->text(), degrees("18.21"));
        dialog.angleEdit()->setFocus();
        QCOMPARE(dialog.angleEdit()->text(), QString());
        QCOMPARE(dialog.index(), 3.2);

        // Picking from the list.
        dialog.indexCombo()->setFocus();
        Q_EMIT dialog.indexCombo()->activated(2);
        QCOMPARE(dialog.angleEdit()->text(), degrees("40.49"));
        QCOMPARE(dialog.index(), 1.54);
    }

    void okStoresTheIndexAndTheStatusBarFollows() {
        TemporaryRegistry registry;
        Session session;
        session.doc.stone()->traceRay({0.1, 0.1, 2}, {0, 0, -1});
        QCOMPARE(session.frame->statusPaneText(2), QStringLiteral("RI=1.540"));
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<CRaytracePropertiesDlg*>(QApplication::activeModalWidget());
            if (!dialog) return;
            dialog->indexCombo()->setFocus();
            pick(dialog->indexCombo(), 13);  // Diamond
            dialog->accept();
        });
        session.frame->action(ID_RAYS_PROPERTIES)->trigger();
        QCOMPARE(session.doc.stone()->refractiveIndex, 2.42);
        QCOMPARE(session.doc.stone()->nRay, 0);
        QCOMPARE(session.frame->statusPaneText(2), QStringLiteral("RI=2.420"));
    }

    // The round brilliant in diamond and in quartz, each with the same fan
    // of rays through its table; the window's pictures go to the guide.
    void fansInDiamondAndQuartz() {
        TemporaryRegistry registry;
        Session session;
        session.frame->resize(1000, 760);
        QVERIFY(session.doc.files().openDocumentFile(BREVIX_SOURCE_DIR "/samples/round_brilliant.asc"));
        CFourView* four = session.frame->fourView();
        struct Material {
            int item;
            double index;
            const char* picture;
            const char* tiltedPicture;
        };
        for (const Material& m : {Material{13, 2.42, "rays-diamond.png", "rays-tilted-diamond.png"},
                                  Material{2, 1.54, "rays-quartz.png", "rays-tilted-quartz.png"}}) {
            QTimer::singleShot(0, [&m] {
                auto* dialog =
                    qobject_cast<CRaytracePropertiesDlg*>(QApplication::activeModalWidget());
                if (!dialog) return;
                pick(dialog->indexCombo(), m.item);
                if (m.index == 2.42) guideImage(dialog, "rays-properties.png");
                dialog->accept();
            });
            session.frame->action(ID_RAYS_PROPERTIES)->trigger();
            QCOMPARE(session.doc.stone()->refractiveIndex, m.index);
            four->repaint();
            dragFan(four, 60, 6);
            const Stone& stone = *session.doc.stone();
            QCOMPARE(paths(stone), 21);
            // Each path runs from above the stone down into it and out again.
            for (int32_t k = 0; k < stone.nRay; k += 4)
                if (stone.rays[k] == 1.0) QVERIFY(stone.rays[k + 3] > 1);
            guideImage(four, m.picture);

            // Light falling 10 degrees off the vertical toward +x, shot from the
            // spin view turned to look at the stone from there; the four view's
            // end pane shows it from the side.
            four->setFocus();
            QTest::keyClick(four, Qt::Key_D);
            CSpinView* spin = session.frame->spinView();
            spin->setAngles({M_PI / 2, 80 * M_PI / 180, 0});
            spin->repaint();
            const QPoint middle(spin->width() / 2, spin->height() / 2);
            // Up the spin view is along x here: the fan lies in the end pane's plane.
            rightButton(spin, QEvent::MouseButtonPress, middle - QPoint(0, 40));
            for (int dy = -36; dy <= 40; dy += 4) rightButton(spin, QEvent::MouseMove, middle + QPoint(0, dy));
            rightButton(spin, QEvent::MouseButtonRelease, middle + QPoint(0, 40));
            QCOMPARE(paths(stone), 21);
            guideImage(four, m.tiltedPicture);
            spin->setAngles({});
            QTest::keyClick(four, Qt::Key_D);
        }
    }
};

BREVIX_WIDGET_TEST(RaytraceTest)
#include "raytrace_test.moc"
