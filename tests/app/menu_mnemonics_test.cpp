// The menu bar's Alt keys belong to the menu bar wherever the focus is in
// the main window: no pane or form inside it may take one of its letters
// for a field or a button of its own.
#include <QAbstractButton>
#include <QApplication>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include "widget_test.h"

#include "app/command_table.h"
#include "app/main_frame.h"
#include "app_test_support.h"

using namespace brevix;
using namespace brevix::test;

namespace {

bool insideMenus(const QWidget* w) {
    for (; w; w = w->parentWidget())
        if (qobject_cast<const QMenuBar*>(w) || qobject_cast<const QMenu*>(w)) return true;
    return false;
}

QString mnemonicOf(const QString& text) { return QKeySequence::mnemonic(text).toString(); }

QDockWidget* lightDock(CMainFrame& frame) {
    return frame.findChild<QDockWidget*>(QStringLiteral("LightPerformanceDock"));
}

}  // namespace

class MenuMnemonicsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void noWidgetInTheWindowSharesAMenuBarMnemonic() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        CMainFrame& frame = *session.frame;
        lightDock(frame)->show();

        QStringList menuKeys;
        for (QAction* menu : frame.menuBar()->actions()) menuKeys << mnemonicOf(menu->text());
        QCOMPARE(menuKeys.size(), 7);
        QVERIFY(menuKeys.contains(QStringLiteral("Alt+S")));

        // Every label and button of every pane, the form and the dock included.
        QStringList seen, clashes;
        for (QWidget* w : frame.findChildren<QWidget*>()) {
            if (insideMenus(w)) continue;
            QString text;
            if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy()) text = label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
            const QString key = mnemonicOf(text);
            if (key.isEmpty()) continue;
            if (menuKeys.contains(key)) clashes << text;
            seen << key;
        }
        QVERIFY(!seen.isEmpty());  // the light pane has mnemonics of its own
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral(", "))));
        // Two fields of one window on one letter would make each press a guess.
        QCOMPARE(QSet<QString>(seen.begin(), seen.end()).size(), seen.size());
    }

    void altKeysOpenTheMenusFromTheLightPane() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        CMainFrame& frame = *session.frame;
        QDockWidget* dock = lightDock(frame);
        dock->show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        const QList<QDoubleSpinBox*> fields = dock->findChildren<QDoubleSpinBox*>();
        QVERIFY(!fields.isEmpty());
        QWidget* start = fields.first();
        start->setFocus();
        QApplication::processEvents();
        QVERIFY(start->hasFocus());

        for (const char* title : {"&Stone", "&Help"}) {
            const QString key = mnemonicOf(QString::fromLatin1(title));
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(key));
            QTRY_VERIFY2(qobject_cast<QMenu*>(QApplication::activePopupWidget()), title);
            QAction* open = frame.menuBar()->activeAction();
            QVERIFY(open);
            QCOMPARE(open->text(), QString::fromLatin1(title));
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
            QTest::keyClick(frame.menuBar(), Qt::Key_Escape);
            QTRY_VERIFY(!QApplication::activePopupWidget());
            // The focus stays in the field the cutter was in.
            QVERIFY(!QApplication::focusWidget() || dock->isAncestorOf(QApplication::focusWidget()) ||
                    QApplication::focusWidget() == frame.menuBar());
        }
    }
};

BREVIX_WIDGET_TEST(MenuMnemonicsTest)
#include "menu_mnemonics_test.moc"
