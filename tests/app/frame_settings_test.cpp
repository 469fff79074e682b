// Window placement and pane sizes: what the first run writes, what closing
// writes, and what the next start restores.
#include <QFile>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include "widget_test.h"

#include "app/brevix_app.h"
#include "app/panes/figures_pane_settings.h"
#include "app_test_support.h"
#include "platform/registry.h"

using namespace brevix;
using namespace brevix::test;

namespace {

// As the user drags a splitter's bar: the first pane gets `first`, the
// second what is left of the splitter's room.
void dragTo(QSplitter* splitter, int first) {
    const int room = (splitter->orientation() == Qt::Horizontal ? splitter->width() : splitter->height()) -
                     splitter->handleWidth();
    splitter->setSizes({first, room - first});
}

constexpr RegRoot HKCU = RegRoot::CurrentUser;

const char* const kMainWndValues[] = {
    "Length",   "flags",    "showCmd",        "MinPos_x",      "MinPos_Y",        "MaxPos_x",
    "MaxPos_y", "NormalPos_left", "NormalPos_top", "NormalPos_right", "NormalPos_bottom",
};

int32_t stored(const char* key, const char* name) {
    const auto value = regGetDword(HKCU, key, name);
    return value ? static_cast<int32_t>(*value) : INT32_MIN;
}

bool hasExactName(const char* key, const char* name) {
    for (const std::string& n : regValueNames(HKCU, key))
        if (n == name) return true;
    return false;
}

}  // namespace

class FrameSettingsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void firstRunWritesMinusOnesAndUsesDefaults() {
        TemporaryRegistry registry;
        withoutDesignFigures();
        Session session;
        for (const char* name : kMainWndValues) {
            QVERIFY2(hasExactName(MAIN_WND_KEY, name), name);
            QCOMPARE(stored(MAIN_WND_KEY, name), -1);
        }
        QCOMPARE(stored(SPLITTER_A_KEY, "Row0_ht"), -1);
        QCOMPARE(stored(SPLITTER_B_KEY, "Col1_wd"), -1);
        QCOMPARE(stored(SPLITTER_C_KEY, "Row1_ht"), -1);

        CMainFrame& frame = *session.frame;
        QCOMPARE(frame.frameGeometry(), QRect(0, 0, 767, 540));
        QCOMPARE(frame.splitterC()->sizes().value(0), 162);
        QCOMPARE(frame.splitterB()->sizes().value(0), 243);
        QCOMPARE(frame.splitterA()->sizes().value(0), 378);
        QVERIFY(!frame.isMaximized());
    }

    void closeWritesEverythingAndNextStartRestoresIt() {
        TemporaryRegistry registry;
        withoutDesignFigures();
        FrameSettings saved;
        QRect outer;
        {
            Session first;
            CMainFrame& frame = *first.frame;
            frame.move(20, 10);
            frame.resize(700, 520);
            if (frame.layout()) frame.layout()->activate();
            dragTo(frame.splitterA(), 350);
            dragTo(frame.splitterB(), 300);
            dragTo(frame.splitterC(), 120);
            outer = frame.frameGeometry();
            saved = frame.currentSettings();
            first.close();
        }
        QCOMPARE(stored(MAIN_WND_KEY, "Length"), 44);
        QCOMPARE(stored(MAIN_WND_KEY, "showCmd"), 1);
        // The outer rectangle, right and bottom exclusive.
        QCOMPARE(stored(MAIN_WND_KEY, "NormalPos_left"), 20);
        QCOMPARE(stored(MAIN_WND_KEY, "NormalPos_top"), 10);
        QCOMPARE(stored(MAIN_WND_KEY, "NormalPos_right"), 20 + outer.width());
        QCOMPARE(stored(MAIN_WND_KEY, "NormalPos_bottom"), 10 + outer.height());
        QCOMPARE(stored(SPLITTER_C_KEY, "Row0_ht"), 120);
        QCOMPARE(stored(SPLITTER_B_KEY, "Col0_wd"), 300);
        QCOMPARE(stored(SPLITTER_A_KEY, "Row0_ht"), 350);
        QCOMPARE(stored(SPLITTER_A_KEY, "Row1_ht"), saved.splitterA[1]);
        QCOMPARE(stored(SPLITTER_C_KEY, "Row1_ht"), saved.splitterC[1]);

        Session second;
        QCOMPARE(second.frame->frameGeometry(), outer);
        QVERIFY(second.frame->currentSettings() == saved);
        second.close();
        // A run that changes nothing writes back what it read.
        QCOMPARE(stored(SPLITTER_B_KEY, "Col1_wd"), saved.splitterB[1]);
        QCOMPARE(stored(MAIN_WND_KEY, "NormalPos_right"), 20 + outer.width());
    }

    void windowClosedMaximisedStartsMaximised() {
        TemporaryRegistry registry;
        withoutDesignFigures();
        { Session first; first.close(); }
        regSetDword(HKCU, MAIN_WND_KEY, "showCmd", 3);
        regSetDword(HKCU, MAIN_WND_KEY, "NormalPos_left", 30);
        regSetDword(HKCU, MAIN_WND_KEY, "NormalPos_top", 40);
        regSetDword(HKCU, MAIN_WND_KEY, "NormalPos_right", 630);
        regSetDword(HKCU, MAIN_WND_KEY, "NormalPos_bottom", 540);

        Session second;
        QVERIFY(second.frame->startMaximised());
        QTRY_VERIFY(second.frame->isMaximized());
        // Un-maximising goes back to the stored (outer) rectangle.
        const QRect outer = second.frame->frameGeometry(), inner = second.frame->geometry();
        const QMargins frameMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
        QCOMPARE(second.frame->normalGeometry(), QRect(30, 40, 600, 500) - frameMargins);
        second.close();
        QCOMPARE(stored(MAIN_WND_KEY, "showCmd"), 3);
        QCOMPARE(stored(MAIN_WND_KEY, "NormalPos_right"), 630);
    }

    void valuesLeftAtMinusOneGiveTheDefaults() {
        TemporaryRegistry registry;
        withoutDesignFigures();
        { Session crashed; }  // never closed: the -1s of the first run stay
        QCOMPARE(stored(MAIN_WND_KEY, "NormalPos_right"), -1);

        Session next;
        QCOMPARE(next.frame->frameGeometry(), QRect(0, 0, 767, 540));
        QCOMPARE(next.frame->splitterB()->sizes().value(0), 243);
        QVERIFY(!next.frame->isMaximized());
    }

    void windowStoredOffEveryScreenComesBackOnScreen() {
        TemporaryRegistry registry;
        withoutDesignFigures();
        { Session first; first.close(); }
        regSetDword(HKCU, MAIN_WND_KEY, "NormalPos_left", 5000);
        regSetDword(HKCU, MAIN_WND_KEY, "NormalPos_top", 4000);
        regSetDword(HKCU, MAIN_WND_KEY, "NormalPos_right", 5600);
        regSetDword(HKCU, MAIN_WND_KEY, "NormalPos_bottom", 4500);

        Session second;
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(second.frame->frameGeometry(), QRect(room.topLeft(), QSize(600, 500)));
    }

    void registryThatCannotBeOpenedIsReported() {
        TemporaryRegistry registry;
        withoutDesignFigures();
        // A file where the hive's folder should be: nothing can be created.
        const QString blocked = registry.folder() + QStringLiteral("/blocked");
        QFile file(blocked);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        setRegistryFolder(blocked.toStdString());

        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        QCOMPARE(sink.texts(), std::vector<std::string>{"Could not access registry!"});
        // No stored sizes: the panes as made, none of them closed.
        for (QSplitter* splitter : {session.frame->splitterA(), session.frame->splitterB(), session.frame->splitterC()})
            QVERIFY(splitter->sizes().value(0) > 0 && splitter->sizes().value(1) > 0);
    }
};

BREVIX_WIDGET_TEST(FrameSettingsTest)
#include "frame_settings_test.moc"
