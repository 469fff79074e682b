// The window with a sample design open, looked at as a picture: the panes
// sit where they belong and each one shows what it should. The grab is kept
// in the build folder (app_window.png) for a person to look at.
#include <QDir>
#include <QImage>
#include <QSplitter>
#include <QTest>
#include "widget_test.h"

#include "app/brevix_app.h"
#include "app/panes/cut_list_view.h"
#include "app/panes/four_view.h"
#include "app/panes/spin_view.h"
#include "app/panes/figures_pane_settings.h"
#include "app_test_support.h"

using namespace brevix;
using namespace brevix::test;

namespace {

// The splitters' sizes here are those of the window without the Design
// Figures pane docked beside them (withoutDesignFigures): it takes its width
// from the views.
const QColor kBackground(166, 202, 240);

QRect rectIn(QWidget* pane, QWidget* window) {
    return QRect(pane->mapTo(window, QPoint(0, 0)), pane->size());
}

bool isInk(QRgb pixel) { return qRed(pixel) < 60 && qGreen(pixel) < 60 && qBlue(pixel) < 60; }

int inkIn(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (isInk(image.pixel(x, y))) ++count;
    return count;
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void sampleDesignFillsThePanesAsLaidOut() {
        TemporaryRegistry registry;
        withoutDesignFigures();
        Session session;
        const std::string sample = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc";
        QVERIFY(session.doc.files().openDocumentFile(sample));
        CMainFrame& frame = *session.frame;
        QCOMPARE(frame.windowTitle(), QStringLiteral("round_brilliant.asc[*] - Brevix"));

        // From top left: spin view above the form, four views to their
        // right, the cut list across the bottom under both.
        const QRect spin = rectIn(frame.spinView(), &frame);
        const QRect form = rectIn(frame.splitterC()->widget(1), &frame);
        const QRect four = rectIn(frame.fourView(), &frame);
        const QRect list = rectIn(frame.cutList(), &frame);
        QCOMPARE(spin.height(), 162);
        QCOMPARE(spin.width(), 243);
        QCOMPARE(form.left(), spin.left());
        QVERIFY(form.top() > spin.bottom());
        QVERIFY(four.left() > spin.right());
        QCOMPARE(four.top(), spin.top());
        QVERIFY(list.top() > form.bottom() && list.top() > four.bottom());
        QVERIFY(list.left() <= spin.left() && list.right() >= four.right());
        QCOMPARE(frame.focusWidget(), frame.fourView());

        const QImage image = frame.grab().toImage();
        QVERIFY(image.save(QStringLiteral(BREVIX_BINARY_DIR "/app_window.png")));

        // Four views: background round the square, the stone in each quarter.
        QCOMPARE(QColor(image.pixel(four.right() - 2, four.center().y())), kBackground);
        const int side = std::min(four.width(), four.height());
        const QPoint corner(four.left() + (four.width() - side) / 2, four.top());
        for (int k = 0; k < 4; ++k) {
            const QRect quarter(corner + QPoint((k % 2) * side / 2, (k / 2) * side / 2),
                                QSize(side / 2, side / 2));
            QVERIFY2(inkIn(image, quarter) > 200, QByteArray::number(k));
        }
        // The spin view draws the stone too, with the tilt in its corner.
        QVERIFY(inkIn(image, spin) > 200);
        QCOMPARE(frame.messageText(), QStringLiteral("  80.0  -40.0    0.0"));

        // The cut list lists the tiers under their section.
        QVERIFY(frame.cutList()->topLevelItemCount() > 5);
        QCOMPARE(frame.cutList()->topLevelItem(0)->text(0), QStringLiteral("PAVILION"));
        QCOMPARE(frame.cutList()->headerItem()->text(3), QStringLiteral("Cutting Instructions"));

        QCOMPARE(frame.statusPaneText(1), QStringLiteral("L/W=1.000"));
        QCOMPARE(frame.statusPaneText(2), QStringLiteral("RI=1.540"));
        QCOMPARE(frame.statusPaneText(3), QStringLiteral("57 + 16 girdles = 73 facets"));
    }
};

BREVIX_WIDGET_TEST(WindowLayoutTest)
#include "window_layout_test.moc"
