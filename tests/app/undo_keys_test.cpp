// Undo and Redo keys belong to the design wherever the focus is in the
// window: a field of the Cut Facet form, the points box, the cut list or a view.
// The other editing keys (select all, copy, paste) belong to the text field
// that has the focus, even where the window gives them a command of its own.
#include <QApplication>
#include <QClipboard>
#include <QTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include "widget_test.h"

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
        QVERIFY(doc.files().OnFileNew());
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

    void editingKeysStayInTheTextField() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        CMainFrame& frame = *session.frame;
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QVERIFY(session.doc.files().OnFileNew());
        // Were the Angle dialog to open, it would be closed again at once.
        int dialogs = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&dialogs] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++dialogs;
                modal->close();
            }
        });
        watch.start(10);

        CAddDlg& form = *frame.addDlg();
        const QList<QLineEdit*> fields = {form.angleEdit(), form.indexEdit(), form.cedEdit(), form.symmetryEdit()};
        for (QLineEdit* field : fields) {
            const QByteArray where = field->objectName().toLatin1();
            field->setFocus();
            QApplication::processEvents();
            QVERIFY2(field->hasFocus(), where);
            field->clear();
            QTest::keyClicks(field, QStringLiteral("12"));
            field->setCursorPosition(1);
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QApplication::processEvents();
            QVERIFY2(field->selectedText() == QStringLiteral("12"), where);
            // Copy, then paste over the selection: the field's text, not the design's.
            QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("12"));
            QTest::keyClick(field, Qt::Key_End);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            QVERIFY2(field->text() == QStringLiteral("1212"), where);
            field->clear();
            field->setModified(false);
        }
        QPlainTextEdit* points = form.pointsEdit();
        points->setFocus();
        QApplication::processEvents();
        QVERIFY(points->hasFocus());
        points->setPlainText(QStringLiteral("0 0 1\n1 0 0"));
        QTest::keyClick(points, Qt::Key_A, Qt::ControlModifier);
        QApplication::processEvents();
        QCOMPARE(points->textCursor().selectedText(), QStringLiteral("0 0 1\u20291 0 0"));
        points->clear();
        QCOMPARE(dialogs, 0);
        QCOMPARE(session.doc.facetCount, 0);
    }
};

BREVIX_WIDGET_TEST(UndoKeysTest)
#include "undo_keys_test.moc"
