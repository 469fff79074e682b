// The main window's placement through real start-close cycles on an X
// server with a window manager (run_with_window_manager.sh): a window
// manager frames the window only once it is on screen, and the placement
// stored is the outer rectangle, frame included. Every run must restore
// exactly what the run before it stored, normal or maximised.
#include <QGuiApplication>
#include <QSplitter>
#include <QTest>
#include <array>
#include <memory>
#include <vector>

#include "app/frame_settings.h"
#include "app/main_frame.h"
#include "app_test_support.h"
#include "design/sample_designs.h"
#include "platform/registry.h"

using namespace brevix;
using namespace brevix::test;

namespace {

// The window manager answers late on a machine busy with other tests.
constexpr int WM_WAIT_MS = 20000;

// Every stored value, in the order of the settings table.
std::vector<int64_t> storedValues() {
    std::vector<int64_t> values;
    const std::pair<const char*, std::vector<const char*>> keys[] = {
        {MAIN_WND_KEY, {"Length", "flags", "showCmd", "MinPos_x", "MinPos_Y", "MaxPos_x", "MaxPos_y",
                        "NormalPos_left", "NormalPos_top", "NormalPos_right", "NormalPos_bottom"}},
        {SPLITTER_A_KEY, {"Row0_ht", "Row1_ht"}},
        {SPLITTER_B_KEY, {"Col0_wd", "Col1_wd"}},
        {SPLITTER_C_KEY, {"Row0_ht", "Row1_ht"}}};
    for (const auto& [key, names] : keys)
        for (const char* name : names) {
            const auto value = regGetDword(RegRoot::CurrentUser, key, name);
            values.push_back(value ? int64_t(int32_t(*value)) : INT64_MIN);
        }
    return values;
}

QRect storedRect(const std::vector<int64_t>& v) {
    return QRect(QPoint(int(v[7]), int(v[8])), QPoint(int(v[9]) - 1, int(v[10]) - 1));
}

struct Run {
    CGemDoc doc;
    std::unique_ptr<CMainFrame> frame;
    Run() {
        doc.model().put(std::make_unique<Stone>(makeRoundBrilliant()));
        frame = std::make_unique<CMainFrame>(doc);
        frame->showAsPlaced();
    }
    // Whether a window manager has put its frame round the window.
    bool framed() {
        return QTest::qWaitFor([this] { return frame->frameGeometry() != frame->geometry(); }, WM_WAIT_MS);
    }
    std::vector<int64_t> close() {
        frame->close();
        frame.reset();
        return storedValues();
    }
};

}  // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyRunRestoresWhatTheRunBeforeStored() {
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            QSKIP("needs an X server with a window manager (run_with_window_manager.sh)");
        TemporaryRegistry registry;

        // First run: the default placement, frame included.
        std::vector<int64_t> first;
        {
            Run run;
            if (!run.framed()) QSKIP("no window manager framed the window");
            QTRY_COMPARE_WITH_TIMEOUT(run.frame->frameGeometry(), QRect(0, 0, 767, 540), WM_WAIT_MS);
            // The user moves and enlarges the window and widens the left panes.
            run.frame->resize(900, 640);
            run.frame->move(130, 70);
            QTRY_COMPARE_WITH_TIMEOUT(run.frame->frameGeometry().topLeft(), QPoint(130, 70), WM_WAIT_MS);
            QTRY_COMPARE_WITH_TIMEOUT(run.frame->geometry().size(), QSize(900, 640), WM_WAIT_MS);
            run.frame->splitterB()->setSizes({300, 600});
            first = run.close();
        }
        const QRect placed = storedRect(first);
        QCOMPARE(placed.topLeft(), QPoint(130, 70));
        QVERIFY(placed.width() >= 900 && placed.height() > 640);
        QCOMPARE(first[2], 1);

        // Second and third runs: the same rectangle and panes, stored again unchanged.
        for (int again = 0; again < 2; ++again) {
            Run run;
            QVERIFY(run.framed());
            QTRY_COMPARE_WITH_TIMEOUT(run.frame->frameGeometry(), placed, WM_WAIT_MS);
            QTRY_COMPARE_WITH_TIMEOUT(run.frame->splitterB()->sizes().value(0), int(first[13]), WM_WAIT_MS);
            QCOMPARE(run.close(), first);
        }

        // Closed maximised: the normal rectangle is stored as it was, not a pixel off.
        std::vector<int64_t> maximised;
        {
            Run run;
            QVERIFY(run.framed());
            QTRY_COMPARE_WITH_TIMEOUT(run.frame->frameGeometry(), placed, WM_WAIT_MS);
            run.frame->showMaximized();
            QTRY_VERIFY_WITH_TIMEOUT(run.frame->isMaximized(), WM_WAIT_MS);
            QTest::qWait(200);
            maximised = run.close();
        }
        QCOMPARE(maximised[2], 3);
        QCOMPARE(storedRect(maximised), placed);

        // It starts maximised, closes storing the same, and comes back to the
        // stored rectangle when the user restores it.
        {
            Run run;
            QTRY_VERIFY_WITH_TIMEOUT(run.frame->isMaximized(), WM_WAIT_MS);
            QTest::qWait(200);
            QCOMPARE(run.close(), maximised);
        }
        {
            Run run;
            QTRY_VERIFY_WITH_TIMEOUT(run.frame->isMaximized(), WM_WAIT_MS);
            run.frame->showNormal();
            QTRY_VERIFY_WITH_TIMEOUT(!run.frame->isMaximized(), WM_WAIT_MS);
            QTRY_COMPARE_WITH_TIMEOUT(run.frame->frameGeometry(), placed, WM_WAIT_MS);
            const std::vector<int64_t> restored = run.close();
            QCOMPARE(restored[2], 1);
            QCOMPARE(storedRect(restored), placed);
        }
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_wm.moc"
