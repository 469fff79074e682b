// What the main window shows a cutter at work: the rough block of a new
// design, the title bar's mark for unsaved changes as Undo returns to the
// saved design, new room going to the views, the points box with every
// coordinate, the cut list scrolling to the tier just cut and showing long
// index lists whole, the Index Gear dialog refusing a gear without teeth,
// and a long read that shows its progress and can be cancelled.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app/dialogs/add_dlg.h"
#include "app/dialogs/file_dialogs.h"
#include "app/dialogs/index_gear_dlg.h"
#include "app/panes/cut_list_view.h"
#include "app/panes/four_view.h"
#include "app/panes/spin_view.h"
#include "app_test_support.h"
#include "widget_test.h"
#include "views/stone_drawing.h"
#include "document/cut_commands.h"

using namespace brevix;
using namespace brevix::test;

namespace {

int pixelsOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
    return count;
}

QStringList rowsOf(const QTreeWidget& list) {
    QStringList rows;
    for (int r = 0; r < list.topLevelItemCount(); ++r) {
        QStringList columns;
        for (int c = 0; c < list.columnCount(); ++c) columns << list.topLevelItem(r)->text(c);
        rows << columns.join(QLatin1Char('\t'));
    }
    return rows;
}

bool rowVisible(QTreeWidget& list, int row) {
    const QRect shown = list.visualItemRect(list.topLevelItem(row));
    return shown.isValid() && list.viewport()->rect().contains(shown.center());
}

}  // namespace

class WindowItemsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void aNewDesignShowsTheRoughBlock() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        session.doc.model().setModifiedFlag(false);
        QVERIFY(session.doc.files().OnFileNew());
        QCOMPARE(session.doc.facetCount, 0);
        const QImage four = session.frame->fourView()->grab().toImage();
        const QRgb grey = qRgb(ROUGH_FACE_GREY.r, ROUGH_FACE_GREY.g, ROUGH_FACE_GREY.b);
        // The block's grey faces fill a good part of each of the four quarters.
        QVERIFY2(pixelsOf(four, grey) > four.width() * four.height() / 20,
                 qPrintable(QString::number(pixelsOf(four, grey))));
    }

    void theTitleMarksUnsavedChangesAndUndoBackToTheSavedDesignClearsIt() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        QTemporaryDir dir;
        Session session;
        CGemDoc& doc = session.doc;
        CMainFrame& frame = *session.frame;
        const std::string path = (dir.path() + QStringLiteral("/saved.gem")).toStdString();
        doc.files().saveType = FileType::Gem;
        QVERIFY(doc.files().OnSaveDocument(path));
        QCOMPARE(frame.windowTitle(), QStringLiteral("saved.gem[*] - Brevix"));
        QVERIFY(!frame.isWindowModified());

        frame.addDlg()->angleEdit()->setFocus();
        doc.pending().angleFieldEdited("45");
        doc.pending().indexFieldEdited("3");
        doc.pending().cedFieldEdited("0.6");
        cutFromForm(doc, nullptr);
        QVERIFY(doc.model().isModified());
        QVERIFY(frame.isWindowModified());
        frame.action(ID_EDIT_UNDO)->trigger();
        QVERIFY(!doc.model().isModified());
        QVERIFY(!frame.isWindowModified());
        frame.action(ID_EDIT_REDO)->trigger();
        QVERIFY(frame.isWindowModified());
        // File Save to the file already open: the mark goes at once.
        frame.action(ID_FILE_SAVE)->trigger();
        QVERIFY(!doc.model().isModified());
        QVERIFY(!frame.isWindowModified());
        frame.action(ID_EDIT_UNDO)->trigger();
        QVERIFY(frame.isWindowModified());
        frame.action(ID_EDIT_REDO)->trigger();
        QVERIFY(!frame.isWindowModified());

        // Exit asks nothing: the design is the one on disk.
        sink.clear();
        session.close();
        QVERIFY2(sink.entries.empty(), sink.entries.empty() ? "" : sink.entries.front().text.c_str());
    }

    void newRoomGoesMostlyToTheViews() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        CMainFrame& frame = *session.frame;
        QApplication::processEvents();
        const QSize four = frame.fourView()->size(), list = frame.cutList()->size();
        const QSize form = frame.splitterC()->widget(1)->size(), spin = frame.spinView()->size();
        frame.resize(frame.size() + QSize(240, 240));
        QApplication::processEvents();
        const QSize gainViews = frame.fourView()->size() - four;
        const QSize gainList = frame.cutList()->size() - list;
        const QSize gainSpin = frame.spinView()->size() - spin;
        QVERIFY2(gainViews.height() > 2 * gainList.height(),
                 qPrintable(QStringLiteral("%1 %2").arg(gainViews.height()).arg(gainList.height())));
        QVERIFY(gainList.height() > 0);  // the list gets its share too
        QVERIFY(gainViews.width() > gainSpin.width() && gainSpin.width() > 0);
        // The form keeps its height; the spin view above it takes the new room.
        QCOMPARE(frame.splitterC()->widget(1)->height(), form.height());
        QVERIFY(gainSpin.height() > 0);
    }

    void thePointsBoxShowsXYAndZOfEveryPoint() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        session.doc.pending().pointsFieldEdited("-0.81234567 -0.71234567 -0.61234567\n0.5 0.2 0.3\n0.4 -0.3 0.2");
        session.frame->addDlg()->refresh();
        QApplication::processEvents();
        QPlainTextEdit* points = session.frame->addDlg()->pointsEdit();
        const QStringList lines = points->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        const int room = points->viewport()->width();
        for (const QString& line : lines)
            QVERIFY2(points->fontMetrics().horizontalAdvance(line) <= room,
                     qPrintable(QStringLiteral("%1 > %2").arg(points->fontMetrics().horizontalAdvance(line)).arg(room)));
        QVERIFY(points->font().pointSizeF() >= 6);
    }

    void theCutListShowsTheNewTierAndWholeIndexLists() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        Session session;
        CMainFrame& frame = *session.frame;
        CCutLstView& list = *frame.cutList();
        QList<int> sizes = frame.splitterA()->sizes();
        frame.splitterA()->setSizes({sizes[0] + sizes[1] - 60, 60});  // a few rows only
        QApplication::processEvents();

        // Long lists of indexes are shown whole in a tool tip.
        bool longOne = false;
        for (int r = 0; r < list.topLevelItemCount(); ++r) {
            const QTreeWidgetItem* item = list.topLevelItem(r);
            QCOMPARE(item->toolTip(2), item->text(2));
            QCOMPARE(item->toolTip(3), item->text(3));
            longOne = longOne || list.fontMetrics().horizontalAdvance(item->text(2)) > list.columnWidth(2);
        }
        QVERIFY(longOne);  // the brilliant's 16-facet tiers do not fit their column

        list.scrollToTop();
        const QStringList before = rowsOf(list);
        session.doc.pending().angleFieldEdited("45");
        session.doc.pending().indexFieldEdited("3");
        session.doc.pending().cedFieldEdited("0.6");
        cutFromForm(session.doc, nullptr);
        QApplication::processEvents();
        const QStringList after = rowsOf(list);
        int changed = 0;
        while (changed < before.size() && before[changed] == after[changed]) ++changed;
        QVERIFY(changed < after.size());
        QVERIFY2(changed > 3, "the new tier's row lies below the first rows");
        QVERIFY(rowVisible(list, changed));
        QVERIFY(!rowVisible(list, 0));
    }

    void indexGearRefusesAGearWithoutTeeth() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        CIndexGearDlg dialog(IndexGearDialog::open(96, 0));
        dialog.show();
        QVERIFY(!dialog.problemLabel()->isVisible());
        dialog.teethBox()->setCurrentText(QStringLiteral("0"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));  // still open
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.problemLabel()->isVisible());
        QVERIFY(dialog.problemLabel()->text().contains(QStringLiteral("1 tooth")));
        QVERIFY(sink.entries.empty());  // said in the dialog, not in a box
        dialog.teethBox()->setCurrentText(QStringLiteral("80"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.state().teeth, 80);
    }

    void aLongReadShowsProgressAndCancelKeepsTheDesign() {
        TemporaryRegistry registry;
        RecordingSink sink;
        ScopedMessageSink scoped(sink);
        QTemporaryDir dir;
        // A design that repeats its tiers over and over: long to read.
        QFile sample(QStringLiteral(BREVIX_SOURCE_DIR "/samples/round_brilliant.asc"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray text = sample.readAll();
        const int firstTier = text.indexOf("\na ") + 1;
        QByteArray big = text;
        while (big.size() < 4 * 1024 * 1024) big += text.mid(firstTier);
        const QString path = dir.path() + QStringLiteral("/long.asc");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(big);
        out.close();

        Session session;
        CGemDoc& doc = session.doc;
        const int facets = doc.facetCount;
        auto* ui = dynamic_cast<QtDocumentUi*>(doc.files().ui);
        QVERIFY(ui);
        ui->progressDelayMs = 0;
        int progressSeen = 0;
        QTimer cancel;
        cancel.setInterval(10);
        QObject::connect(&cancel, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QProgressDialog*>(w);
                if (!dialog || !dialog->isVisible()) continue;
                ++progressSeen;
                QVERIFY(dialog->labelText().contains(QStringLiteral("long.asc")));
                for (QPushButton* b : dialog->findChildren<QPushButton*>())
                    if (b->text() == QStringLiteral("Cancel")) b->click();
            }
        });
        cancel.start();
        QVERIFY(!doc.files().openDocumentFile(path.toStdString()));
        cancel.stop();
        QVERIFY(progressSeen > 0);
        QCOMPARE(doc.facetCount, facets);  // the design in hand stays
        QVERIFY(doc.files().registeredPath != path.toStdString());
        QVERIFY2(sink.entries.empty(), sink.entries.empty() ? "" : sink.entries.front().text.c_str());
    }
};

BREVIX_WIDGET_TEST(WindowItemsTest)
#include "window_items_test.moc"
