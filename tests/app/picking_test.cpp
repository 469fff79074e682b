// Picking in the real window: a crown main placed through two meet points
// with the mouse alone, the click rule, the status bar and cursor while
// hovering, the keys of the four view, and the Index Gear dialog from the
// gear label and from the Edit menu.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include "widget_test.h"
#include <QTimer>
#include <cmath>
#include <deque>
#include <functional>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/dialogs/add_dlg.h"
#include "app/panes/four_view.h"
#include "app/panes/figures_pane_settings.h"
#include "app_test_support.h"
#include "design/measures.h"
#include "design/sample_designs.h"
#include "facet_placement/point_solvers.h"
#include "views/four_view.h"

using namespace brevix;
using namespace brevix::test;

namespace {

void pickingMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    // On a real (virtual) screen the pointer goes there too, so that the
    // window system's own moves agree with the test's.
    if (type == QEvent::MouseMove) QCursor::setPos(w->mapToGlobal(at));
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, buttons, modifiers);
    QApplication::sendEvent(w, &event);
}

// Hover, press and release: a click where the pointer rests.
void click(QWidget* w, QPoint at, QPoint releaseAt) {
    pickingMouse(w, QEvent::MouseMove, at, Qt::NoButton);
    pickingMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton);
    if (releaseAt != at) pickingMouse(w, QEvent::MouseMove, releaseAt, Qt::LeftButton);
    pickingMouse(w, QEvent::MouseButtonRelease, releaseAt, Qt::NoButton);
}
void click(QWidget* w, QPoint at) { click(w, at, at); }

// Answers the modal dialogs that open, one step per dialog, in order; the
// titles seen are kept for the test to compare.
class DialogScript {
public:
    std::deque<std::function<void(QDialog*)>> steps;
    QStringList titles;

    DialogScript() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }

private:
    void poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        // A dialog shown again in a loop may sit at the same address: mark
        // the ones answered instead of remembering pointers.
        if (!dialog || !dialog->isVisible() || dialog->property("answered").toBool() || steps.empty())
            return;
        dialog->setProperty("answered", true);
        titles << dialog->windowTitle();
        auto step = steps.front();
        steps.pop_front();
        step(dialog);
    }
    QTimer timer_;
};

std::function<void(QDialog*)> press(const char* button) {
    return [button](QDialog* d) {
        auto* b = d->findChild<QAbstractButton*>(QString::fromLatin1(button));
        QVERIFY2(b, button);
        if (b) b->click();
    };
}

// A part of the widget round `centre`, enlarged three times so the marks show.
void guideCloseUp(QWidget* widget, QPoint centre, const char* name) {
    const QByteArray folder = qgetenv("BREVIX_GUIDE_IMAGES");
    if (folder.isEmpty()) return;
    QApplication::processEvents();
    const QPixmap part = widget->grab(QRect(centre - QPoint(70, 45), QSize(140, 90)));
    part.scaled(part.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromLatin1(name)));
}

QPoint pixelOf(const View& view, Vec3 p) {
    return {static_cast<int>(std::lround(view.projectX(p))),
            static_cast<int>(std::lround(view.projectY(p)))};
}

// Where the view puts a facet's label: the views work out label centres on
// their own copy of the design, never on the document's stone.
Vec3 labelCentreOf(const Stone& design, int32_t facet) {
    Stone copy(design);
    FacetLabelCenters(copy);
    return copy.facets[facet].labelCenter;
}

int32_t facetNamed(const Stone& stone, const std::string& name, double index) {
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (stone.facetName(i) == name && std::fabs(stone.facetIndexOf(i) - index) < 1e-6) return i;
    return -1;
}

// The round brilliant before its crown mains: the mains are what the test cuts.
std::unique_ptr<Stone> brilliantWithoutMains() {
    auto stone = std::make_unique<Stone>();
    for (const TierSetting& tier : roundBrilliantTiers())
        if (tier.name != "C1") cutTier(*stone, tier);
    stone->symmetry = 8;
    stone->mirror = 1;
    return stone;
}

// The pixels picked here are those of the four views without the Design
// Figures pane docked beside them (it takes its width from the views).
struct PickSession {
    TemporaryRegistry registry;
    bool figuresHidden = withoutDesignFigures();
    RecordingSink sink;
    ScopedMessageSink scope{sink};
    Session session;
    CFourView* view = nullptr;

    explicit PickSession(std::unique_ptr<Stone> stone = nullptr) {
        if (stone) {
            session.doc.model().put(std::move(stone));
            session.doc.takeSymmetryFromStone();
            session.frame->updateAllViews();
        }
        view = session.frame->fourView();
        view->repaint();
    }
    const View& pane(int k) const { return view->panes()[k]; }
};

}  // namespace

class PickingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void crownMainThroughTwoMeetPointsWithTheMouseAlone() {
        PickSession s(brilliantWithoutMains());
        CGemDoc& doc = s.session.doc;
        Stone& stone = *doc.stone();
        const int before = doc.facetCount;
        QCOMPARE(s.view->panes().size(), size_t(4));

        // The index: Copy from the pavilion main at 96, seen from below.
        const int32_t pavilionMain = facetNamed(stone, "P1", 96);
        DialogScript script;
        script.steps = {[](QDialog* d) {
                            guideImage(d, "pick_facet_dialog.png");
                            press("copyIndexButton")(d);
                        },
                        press("cancelButton")};
        click(s.view, pixelOf(s.pane(PANE_BOTTOM), labelCentreOf(stone, pavilionMain)));
        QCOMPARE(script.titles, (QStringList{"Facet", "Facet"}));  // shown again: incomplete
        QVERIFY(doc.pending().info.hasIndex);
        QCOMPARE(doc.pending().info.index, 96.0);

        // The table's corner toward index 96 (+y) from above, and the
        // girdle's corner below it from the end (from above the gear label
        // "<96>" lies over it).
        const Vec3 tableCorner{0, 0.60361, 0.32}, girdleCorner{0, 1.01959, 0.02};
        Vec3 picked[2];
        int i = 0;
        for (Vec3 target : {tableCorner, girdleCorner}) {
            const QPoint at = pixelOf(s.pane(i == 0 ? PANE_TOP : PANE_END), target);
            pickingMouse(s.view, QEvent::MouseMove, at, Qt::NoButton);
            QCOMPARE(s.view->pickState().pickKind, PickMeet);
            picked[i] = s.view->pickState().pickPoint;
            QVERIFY(length(picked[i] - target) < 1e-4);
            QVERIFY(s.session.frame->messageText().endsWith(QStringLiteral(" Meet")));
            if (i == 0) {
                guideImage(s.session.frame.get(), "pick_meet_hover.png");
                guideCloseUp(s.view, at, "pick_meet_closeup.png");
            }
            script.steps = {[i](QDialog* d) {
                if (i == 0) guideImage(d, "pick_meet_dialog.png");
                press("useButton")(d);
            }};
            click(s.view, at);
            QCOMPARE(script.titles.last(), QStringLiteral("Meet Point"));
            QCOMPARE(doc.pending().info.nPoints, i + 1);
            ++i;
        }

        // The form now offers the cut, with the plane the solver finds.
        QCOMPARE(s.session.frame->addDlg()->cutButton()->text(), QStringLiteral("Cut Facet"));
        NewFacetInfo expected;
        expected.index = 96;
        expected.hasIndex = true;
        expected.nPoints = 2;
        expected.points = {picked[0], picked[1], {}};
        Diagnostics notes;
        const PlaneSolution plane = planeThrough2PointsAtIndex(expected, stone, notes);
        QVERIFY(plane.d > 0);
        QCOMPARE(doc.pending().info.angle, plane.angle);
        QCOMPARE(doc.pending().info.ced, plane.d);
        QVERIFY(std::fabs(plane.angle - 35.8) < 0.1);

        guideImage(s.session.frame.get(), "pick_two_points.png");
        s.session.frame->addDlg()->cutButton()->click();
        QCOMPARE(doc.facetCount, before + 8);
        guideImage(s.session.frame->fourView(), "pick_mains_cut.png");
        // Each new main passes through both picked corners of its own.
        const Stone& cut = *doc.stone();
        const Facet& main96 = cut.facets[cut.nFacet - 8];
        QVERIFY(std::fabs(dot(main96.normal(), picked[0]) - main96.d) < 1e-9);
        QVERIFY(std::fabs(dot(main96.normal(), picked[1]) - main96.d) < 1e-9);
        for (const auto& e : s.sink.entries) qInfo("message: %s", e.text.c_str());
    }

    void girdleFacetThroughAPointOnAnEdge() {
        PickSession s;
        CGemDoc& doc = s.session.doc;
        Stone& stone = *doc.stone();
        const int before = doc.facetCount;
        // Angle and index typed into the form.
        doc.pending().angleFieldEdited("90");
        doc.pending().indexFieldEdited("96");
        s.session.frame->addDlg()->refresh();
        // Seen from the end, the top edge of the girdle facet at index 3.
        const int32_t girdle = facetNamed(stone, "G", 3), half = facetNamed(stone, "C3", 3);
        int32_t edge = -1;
        for (int32_t i = 0; i < stone.nEdge; ++i) {
            const Edge& e = stone.edges[i];
            if ((e.f[0] == girdle && e.f[1] == half) || (e.f[1] == girdle && e.f[0] == half)) edge = i;
        }
        QVERIFY(edge >= 0);
        const Vec3 a = stone.edgeEnd(edge, 0), b = stone.edgeEnd(edge, 1);
        const QPoint at = pixelOf(s.pane(PANE_END), a * 0.4 + b * 0.6);
        pickingMouse(s.view, QEvent::MouseMove, at, Qt::NoButton);
        QCOMPARE(s.view->pickState().pickKind, PickEdge);
        QCOMPARE(s.view->pickState().pickIndex, edge);
        guideCloseUp(s.view, at, "pick_edge_closeup.png");
        DialogScript script;
        script.steps = {[](QDialog* d) {
            auto* fraction = d->findChild<QLineEdit*>(QStringLiteral("fractionOfLengthEdit"));
            fraction->setText(QStringLiteral("0.5"));
            Q_EMIT fraction->editingFinished();
            guideImage(d, "pick_edge_dialog.png");
            d->findChild<QPushButton*>(QStringLiteral("useButton"))->click();
        }};
        click(s.view, at);
        QCOMPARE(script.titles, QStringList{"Point on Edge"});
        QCOMPARE(doc.pending().info.nPoints, 1);
        const Vec3 mid = (a + b) * 0.5;
        QVERIFY(length(doc.pending().info.points[0] - mid) < 1e-12);
        QVERIFY(doc.pending().completeInfo());
        QVERIFY(std::fabs(doc.pending().info.ced - mid.y) < 1e-12);  // a plane facing +y through the point
        s.session.frame->addDlg()->cutButton()->click();
        QCOMPARE(doc.facetCount, before + 8);
        guideImage(s.session.frame->fourView(), "pick_girdle_cut.png");
    }

    void aReleaseThreePixelsAwayOpensNothing() {
        PickSession s;
        Stone& stone = *s.session.doc.stone();
        const int32_t table = facetNamed(stone, "T", 96);
        const QPoint at = pixelOf(s.pane(PANE_TOP), labelCentreOf(stone, table));
        DialogScript script;
        script.steps = {press("cancelButton"), press("cancelButton")};
        click(s.view, at, at + QPoint(2, 1));
        QTest::qWait(50);
        QVERIFY(script.titles.isEmpty());
        click(s.view, at, at + QPoint(1, 1));
        QCOMPARE(script.titles, QStringList{"Facet"});
        // Pierce: empty space.
        click(s.view, QPoint(s.pane(PANE_TOP).viewport.sx1 + 3, s.pane(PANE_TOP).viewport.sy2 + 3));
        QCOMPARE(script.titles.last(), QStringLiteral("Outside Stone (Pierce)"));
    }

    void hoverShowsTheStatusTextAndTheCursor() {
        PickSession s;
        Stone& stone = *s.session.doc.stone();
        const int32_t table = facetNamed(stone, "T", 96);
        const int32_t star = facetNamed(stone, "C2", 6);
        const QPoint onStar = pixelOf(s.pane(PANE_TOP), labelCentreOf(stone, star));
        pickingMouse(s.view, QEvent::MouseMove, onStar, Qt::NoButton);
        QCOMPARE(s.view->pickState().pickIndex, star);
        guideCloseUp(s.view, onStar, "pick_facet_closeup.png");
        pickingMouse(s.view, QEvent::MouseMove, pixelOf(s.pane(PANE_TOP), labelCentreOf(stone, table)),
              Qt::NoButton);
        QVERIFY(s.session.frame->messageText().contains(QString::fromUtf8(" Facet T 0.00\u00b0 96.0")));
        QCOMPARE(s.view->cursor().shape(), Qt::CrossCursor);
        const GearLabel& label = s.pane(PANE_TOP).gearLabel;
        QVERIFY(label.present);
        const QPoint onLabel((label.left + label.right) / 2, (label.top + label.bottom) / 2);
        pickingMouse(s.view, QEvent::MouseMove, onLabel, Qt::NoButton);
        QCOMPARE(s.session.frame->messageText(), QStringLiteral("Click to select index gear"));
        QCOMPARE(s.view->cursor().shape(), Qt::PointingHandCursor);

        // A click on the label opens the gear; Clockwise and OK change the
        // stone's gear and mark the design changed.
        DialogScript script;
        script.steps = {[](QDialog* d) {
            guideImage(d, "index_gear_dialog.png");
            d->findChild<QCheckBox*>(QStringLiteral("clockwiseBox"))->click();
            d->accept();
        }};
        click(s.view, onLabel);
        QCOMPARE(script.titles, QStringList{"Index Gear"});
        QCOMPARE(s.session.doc.stone()->gear, -96);
        QVERIFY(s.session.doc.model().isModified());

        // Edit > Index Gear... opens the same dialog; Cancel changes nothing.
        script.steps = {[](QDialog* d) { d->reject(); }};
        s.session.frame->action(ID_EDIT_INDEX_GEAR)->trigger();
        QCOMPARE(script.titles.last(), QStringLiteral("Index Gear"));
        QCOMPARE(s.session.doc.stone()->gear, -96);
    }

    void pointOnEdgeAndZoom() {
        PickSession s;
        Stone& stone = *s.session.doc.stone();
        // The middle of the table edge toward the star at index 6.
        const int32_t table = facetNamed(stone, "T", 96), star = facetNamed(stone, "C2", 6);
        int32_t edge = -1;
        for (int32_t i = 0; i < stone.nEdge; ++i) {
            const Edge& e = stone.edges[i];
            if ((e.f[0] == table && e.f[1] == star) || (e.f[1] == table && e.f[0] == star)) edge = i;
        }
        QVERIFY(edge >= 0);
        const Vec3 mid = (stone.edgeEnd(edge, 0) + stone.edgeEnd(edge, 1)) * 0.5;
        DialogScript script;
        script.steps = {[](QDialog* d) {
            auto* fraction = d->findChild<QLineEdit*>(QStringLiteral("fractionOfLengthEdit"));
            fraction->setText(QStringLiteral("0.5"));
            Q_EMIT fraction->editingFinished();
            d->findChild<QPushButton*>(QStringLiteral("useButton"))->click();
        }};
        click(s.view, pixelOf(s.pane(PANE_TOP), mid));
        QCOMPARE(script.titles, QStringList{"Point on Edge"});
        QCOMPARE(s.session.doc.pending().info.nPoints, 1);
        QVERIFY(length(s.session.doc.pending().info.points[0] - mid) < 1e-12);

        // The zoom button enlarges the pane of the pick, and back.
        script.steps = {press("zoomButton")};
        click(s.view, pixelOf(s.pane(PANE_TOP), labelCentreOf(stone, table)));
        QVERIFY(s.view->zoomed());
        QCOMPARE(s.view->zoomPane(), int(PANE_TOP));
        QVERIFY(s.session.frame->action(ID_ZOOM_TOP)->isChecked());
        s.view->repaint();
        script.steps = {[](QDialog* d) {
            QCOMPARE(d->findChild<QPushButton*>(QStringLiteral("zoomButton"))->text(),
                     QStringLiteral("&Zoom Out"));
            d->findChild<QPushButton*>(QStringLiteral("zoomButton"))->click();
        }};
        click(s.view, pixelOf(s.pane(0), labelCentreOf(stone, table)));
        QVERIFY(!s.view->zoomed());
        QVERIFY(s.session.frame->action(ID_ZOOM_OUT)->isChecked());
    }

    void keysOfTheFourView() {
        PickSession s;
        pickingMouse(s.view, QEvent::MouseMove, {100, 100}, Qt::NoButton);
        s.view->setFocus();
        QTest::keyClick(s.view, Qt::Key_C);
        QCOMPARE(s.view->pickState().crosshairShown, 1);
        QTest::keyClick(s.view, Qt::Key_C);
        QCOMPARE(s.view->pickState().crosshairShown, 0);
        // A: the Angle dialog of the Edit menu.
        DialogScript script;
        script.steps = {[](QDialog* d) { d->reject(); }};
        QTest::keyClick(s.view, Qt::Key_A);
        QCOMPARE(script.titles, QStringList{"Angle"});
    }

    void betweenTwoPointsFromTheForm() {
        PickSession s;
        CGemDoc& doc = s.session.doc;
        doc.pending().addPoint({0, 0.5, 0.3});
        doc.pending().addPoint({0, 0.9, 0.1});
        CAddDlg* form = s.session.frame->addDlg();
        form->refresh();
        QVERIFY(form->betweenButton()->isEnabled());
        DialogScript script;
        script.steps = {[](QDialog* d) {
            auto* fraction = d->findChild<QLineEdit*>(QStringLiteral("fractionOfLengthEdit"));
            fraction->setText(QStringLiteral("0.25"));
            Q_EMIT fraction->editingFinished();
            d->findChild<QPushButton*>(QStringLiteral("useButton"))->click();
        }};
        form->betweenButton()->click();
        QCOMPARE(script.titles, QStringList{"Between Two Points"});
        QCOMPARE(doc.pending().info.nPoints, 1);
        QVERIFY(std::fabs(doc.pending().info.points[0].y - 0.6) < 1e-12);
    }
};

BREVIX_WIDGET_TEST(PickingTest)
#include "picking_test.moc"
