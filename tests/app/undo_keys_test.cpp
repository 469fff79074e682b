// Undo and Redo keys belong to the design wherever the focus is in the
// window: a field of the Cut Facet form, the points box, the cut list or a view.
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/dialogs/add_dlg.h"
#include "app/main_frame.h"
#include "app/panes/cut_list_view.h"
#include "app/panes/four_view.h"
#include "app_test_support.h"

using namespace brevix;
using namespace brevix::test;

class UndoKeysTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void undoAndRedoKeysReachTheDesignFromEveryPane() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        CGemDoc& doc = session.doc;
        CMainFrame& frame = *session.frame;
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        const int brilliant = doc.facetCount;
        QVERIFY(brilliant > 0);
        // File New puts the brilliant into the undo ring.
        QVERIFY(doc.OnFileNew());
        QCOMPARE(doc.facetCount, 0);

        CAddDlg& form = *frame.addDlg();
        QList<QWidget*> places = {form.angleEdit(), form.indexEdit(), form.cedEdit(),
                                  form.symmetryEdit(), form.pointsEdit(), frame.cutList(),
                                  frame.fourView()};
        for (QWidget* place : places) {
            const QByteArray where = place->metaObject()->className();
            place->setFocus();
            QApplication::processEvents();
            QVERIFY2(place->hasFocus(), where);
            // A field holding text of its own still gives the key to the design.
            if (auto* edit = qobject_cast<QLineEdit*>(place)) QTest::keyClicks(edit, QStringLiteral("4"));

            QTest::keyClick(place, Qt::Key_Z, Qt::ControlModifier);
            QVERIFY2(doc.facetCount == brilliant, where);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
            QVERIFY2(doc.facetCount == 0, where);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace, Qt::AltModifier);
            QVERIFY2(doc.facetCount == brilliant, where);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
            QVERIFY2(doc.facetCount == 0, where);
        }
        // Plain typing in a field stays the field's.
        form.angleEdit()->setFocus();
        form.angleEdit()->clear();
        QTest::keyClicks(form.angleEdit(), QStringLiteral("41.5"));
        QCOMPARE(form.angleEdit()->text(), QStringLiteral("41.5"));
        QTest::keyClick(form.angleEdit(), Qt::Key_Backspace);
        QCOMPARE(form.angleEdit()->text(), QStringLiteral("41."));
        QCOMPARE(doc.facetCount, 0);
    }
};

QTEST_MAIN(UndoKeysTest)
#include "undo_keys_test.moc"
